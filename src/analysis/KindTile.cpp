#include "analysis/KindTile.hpp"

#include "analysis/KindSymbol.hpp"
#include "app/ByteText.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QLocale>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace dorvale {

namespace {

constexpr int contentWidth = 150;
constexpr int padding = 14;
constexpr int lineGap = 6;
constexpr qreal radius = 12;
constexpr qreal fillOpacity = 0.16;
constexpr qreal outlineOpacity = 0.7;
constexpr qreal restingOpacity = 0.04;
// The selection springs with a response of half a second, damped to a barely visible
// overshoot; by the end of the response it has settled.
constexpr qreal springResponse = 0.5;
constexpr qreal springDamping = 0.85;

// A damped spring released from rest at 0 towards 1, over `progress` of its response.
qreal spring(qreal progress) {
    const qreal omega = 2 * std::numbers::pi / springResponse;
    const qreal damped = omega * std::sqrt(1 - springDamping * springDamping);
    const qreal t = progress * springResponse;
    return 1 - std::exp(-springDamping * omega * t) *
                   (std::cos(damped * t) + springDamping * omega / damped * std::sin(damped * t));
}

QColor mixed(const QColor& from, const QColor& to, qreal share) {
    const auto channel = [share](float a, float b) {
        return a + (b - a) * float(share);
    };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()), channel(from.alphaF(), to.alphaF()));
}

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
    , m_kind(kind)
    , m_selection(new QVariantAnimation(this)) {
    QEasingCurve curve;
    curve.setCustomType(spring);
    m_selection->setEasingCurve(curve);
    m_selection->setDuration(static_cast<int>(springResponse * 1000));
    connect(m_selection, &QVariantAnimation::valueChanged, this, [this] { update(); });
    connect(m_selection, &QAbstractAnimation::finished, this, [this] { update(); });
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

// A tile not on screen takes its new state at once.
void KindTile::setSelected(bool selected) {
    if (selected == m_selected) {
        return;
    }
    const qreal from = shownSelection();
    m_selected = selected;
    m_selection->stop();
    if (isVisible()) {
        m_selection->setStartValue(from);
        m_selection->setEndValue(selected ? 1.0 : 0.0);
        m_selection->start();
    }
    update();
}

qreal KindTile::shownSelection() const {
    if (m_selection->state() == QAbstractAnimation::Running) {
        return m_selection->currentValue().toReal();
    }
    return m_selected ? 1.0 : 0.0;
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
    const qreal selection = std::clamp(shownSelection(), 0.0, 1.0);
    painter.setPen(selection > 0 ? QPen(Theme::withOpacity(color, outlineOpacity * selection), 1.5)
                                 : QPen(Qt::NoPen));
    painter.setBrush(
        mixed(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), restingOpacity),
              Theme::withOpacity(color, fillOpacity), selection));
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
