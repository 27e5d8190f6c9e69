#include "widgets/ElidedLabel.hpp"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>

namespace dorvale {

namespace {

// The narrowest a label asks to be: room for a few letters and the ellipsis.
constexpr int minimumCharacters = 4;

} // namespace

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setElideMode(Qt::TextElideMode mode) {
    m_elideMode = mode;
    updateGeometry();
    update();
}

void ElidedLabel::setMaximumLines(int lines) {
    m_maximumLines = std::max(1, lines);
    updateGeometry();
    update();
}

void ElidedLabel::setTone(Tone tone) {
    m_tone = tone;
    update();
}

void ElidedLabel::setTextStyle(TextStyle style, FontWeight weight, Digits digits) {
    Typography::apply(*this, style, weight, digits);
}

void ElidedLabel::setTextStyle(TextStyle style, Digits digits) {
    Typography::apply(*this, style, digits);
}

QStringList ElidedLabel::visibleLines() const {
    return linesFor(contentsRect().width()).lines;
}

bool ElidedLabel::isElided() const {
    return linesFor(contentsRect().width()).elided;
}

QSize ElidedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int width = (Typography::textWidth(font(), text()) + m_maximumLines - 1) / m_maximumLines;
    return {width + margins.left() + margins.right(), reservedHeight()};
}

QSize ElidedLabel::minimumSizeHint() const {
    if (m_elideMode == Qt::ElideNone) {
        return sizeHint();
    }
    const QFontMetrics metrics(font());
    const QMargins margins = contentsMargins();
    const int width = metrics.averageCharWidth() * minimumCharacters +
                      metrics.horizontalAdvance(QStringLiteral("…"));
    return {std::min(width, sizeHint().width() - margins.left() - margins.right()) +
                margins.left() + margins.right(),
            reservedHeight()};
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (isElided()) {
            QToolTip::showText(help->globalPos(), text(), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Theme::foreground(*this, m_tone));
    const QRect area = contentsRect();
    const int lineHeight = QFontMetrics(font()).lineSpacing();
    const QStringList lines = visibleLines();
    // Reserved lines that the text does not use stay empty below it.
    QRect line(area.left(), area.top(), area.width(), lineHeight);
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    for (const QString& text : lines) {
        painter.drawText(line, static_cast<int>(horizontal | Qt::AlignVCenter), text);
        line.translate(0, lineHeight);
    }
}

ElidedLabel::Lines ElidedLabel::linesFor(int width) const {
    const QFontMetrics metrics(font());
    const QString full = QString(text()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    width = std::max(width, 0);
    const auto cut = [&](const QString& rest, Qt::TextElideMode mode, Lines& result) {
        const QString shown = metrics.elidedText(rest, mode, width);
        result.lines.append(shown);
        result.elided = shown != rest;
    };
    Lines result;
    if (m_maximumLines == 1) {
        cut(full, m_elideMode, result);
        return result;
    }
    QTextLayout layout(full, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    while (result.lines.size() < m_maximumLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        if (result.lines.size() == m_maximumLines - 1) {
            // The last line takes the rest of the text, cut to fit where the mode says.
            cut(full.mid(line.textStart()).trimmed(),
                m_elideMode == Qt::ElideNone ? Qt::ElideRight : m_elideMode, result);
            break;
        }
        result.lines.append(full.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return result;
}

int ElidedLabel::reservedHeight() const {
    const QMargins margins = contentsMargins();
    return QFontMetrics(font()).lineSpacing() * m_maximumLines + margins.top() + margins.bottom();
}

} // namespace dorvale
