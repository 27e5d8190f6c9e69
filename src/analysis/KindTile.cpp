#include "analysis/KindTile.hpp"

#include "analysis/KindSymbol.hpp"
#include "app/ByteText.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QLocale>
#include <QPainter>

#include <array>

namespace dorvale {

namespace {

constexpr int contentWidth = 150;
constexpr int padding = 14;
constexpr int lineGap = 6;
constexpr qreal radius = 12;

QFont symbolFont() {
    return Typography::font(TextStyle::Title3);
}
QFont titleFont() {
    return Typography::font(TextStyle::Callout, FontWeight::Semibold);
}
QFont sizeFont() {
    return Typography::font(TextStyle::Title3, FontWeight::Bold, Digits::Tabular);
}
QFont countFont() {
    return Typography::font(TextStyle::Caption);
}

// The heights of the four lines, top to bottom.
std::array<int, 4> lineHeights() {
    return {QFontMetrics(symbolFont()).height(), QFontMetrics(titleFont()).height(),
            QFontMetrics(sizeFont()).height(), QFontMetrics(countFont()).height()};
}

} // namespace

KindTile::KindTile(FileKind kind, QWidget* parent)
    : QAbstractButton(parent)
    , m_kind(kind) {
    setText(kindTitle(kind));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setProperty("symbol", kindSymbol(kind));
    describe();
}

void KindTile::setFigures(std::int64_t size, std::int64_t count) {
    m_size = size;
    m_count = count;
    describe();
    update();
}

void KindTile::setSelected(bool selected) {
    m_selected = selected;
    update();
}

QString KindTile::sizeText() const {
    return byteText(m_size);
}

QString KindTile::countText() const {
    return tr("%1 files").arg(QLocale().toString(qint64{m_count}));
}

void KindTile::describe() {
    setAccessibleName(text());
    setAccessibleDescription(sizeText() + QStringLiteral(", ") + countText());
}

QSize KindTile::sizeHint() const {
    int height = 2 * padding + 3 * lineGap;
    for (const int line : lineHeights()) {
        height += line;
    }
    return {contentWidth + 2 * padding, height};
}

void KindTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = Theme::kindColor(m_kind);
    const QRectF box = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
    painter.setPen(m_selected ? QPen(Theme::withOpacity(color, 0.7), 1.5) : QPen(Qt::NoPen));
    painter.setBrush(m_selected
                         ? Theme::withOpacity(color, 0.16)
                         : Theme::withOpacity(Theme::foreground(*this, Tone::Primary), 0.04));
    painter.drawRoundedRect(box, radius, radius);
    if (hasFocus()) {
        painter.setPen(QPen(Theme::accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, radius, radius);
    }
    const std::array<int, 4> heights = lineHeights();
    const int width = this->width() - 2 * padding;
    int top = padding;
    const int side = QFontMetrics(symbolFont()).ascent();
    painter.drawPixmap(padding, top + (heights[0] - side) / 2,
                       Symbols::pixmap(kindSymbol(m_kind), side, color, devicePixelRatioF()));
    top += heights[0] + lineGap;
    const auto line = [&](const QFont& font, Tone tone, const QString& text, int height) {
        painter.setFont(font);
        painter.setPen(Theme::foreground(*this, tone));
        const QRect area(padding, top, width, height);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
        top += height + lineGap;
    };
    line(titleFont(), Tone::Primary, text(), heights[1]);
    line(sizeFont(), Tone::Primary, sizeText(), heights[2]);
    line(countFont(), Tone::Secondary, countText(), heights[3]);
}

} // namespace dorvale
