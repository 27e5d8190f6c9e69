#include "widgets/CapsuleButton.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int iconSpacing = Theme::Space::snug;
constexpr qreal iconToLineHeight = 0.9;
constexpr qreal disabledOpacity = 0.45;
constexpr qreal focusRingWidth = 2;

} // namespace

CapsuleButton::CapsuleButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleButton::setSymbol(const QString& symbol) {
    setProperty("symbol", symbol);
    updateGeometry();
    update();
}

QString CapsuleButton::symbol() const {
    return property("symbol").toString();
}

// The focus ring is drawn just outside the capsule, so the button keeps room for it.
QSize CapsuleButton::sizeHint() const {
    const int ring = qCeil(focusRingWidth);
    return contentSize().grownBy(m_padding).grownBy(QMargins(ring, ring, ring, ring));
}

QSize CapsuleButton::minimumSizeHint() const {
    return sizeHint();
}

void CapsuleButton::setPadding(const QMargins& padding) {
    m_padding = padding;
    updateGeometry();
}

void CapsuleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? opacity() : disabledOpacity);
    const QRectF bounds(rect());
    const qreal factor = scale();
    painter.translate(bounds.center());
    painter.scale(factor, factor);
    painter.translate(-bounds.center());
    const QRectF capsule =
        bounds.adjusted(focusRingWidth, focusRingWidth, -focusRingWidth, -focusRingWidth);
    const qreal radius = capsule.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill(capsule));
    painter.drawRoundedRect(capsule, radius, radius);
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), focusRingWidth));
        const qreal ringRadius = bounds.height() / 2 - focusRingWidth / 2;
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), ringRadius, ringRadius);
    }
    paintContent(painter, capsule);
}

int CapsuleButton::iconSize() const {
    return symbol().isEmpty() ? 0 : qRound(fontMetrics().height() * iconToLineHeight);
}

QSize CapsuleButton::contentSize() const {
    const int icon = iconSize();
    const int textWidth = Typography::textWidth(font(), text());
    const int spacing = icon > 0 && !text().isEmpty() ? iconSpacing : 0;
    return {icon + spacing + textWidth, std::max(icon, fontMetrics().height())};
}

// The symbol and the text as one group centred on the capsule; the text is cut with "…"
// when the button is made narrower than its label.
void CapsuleButton::paintContent(QPainter& painter, const QRectF& capsule) const {
    const QRectF inner = capsule.marginsRemoved(QMarginsF(m_padding));
    const int icon = iconSize();
    const qreal spacing = icon > 0 && !text().isEmpty() ? iconSpacing : 0;
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight,
                                                   qMax(0, qFloor(inner.width() - icon - spacing)));
    const qreal textWidth = Typography::textWidth(font(), shown);
    const qreal groupWidth = icon + spacing + textWidth;
    qreal x = capsule.center().x() - groupWidth / 2;
    const QColor color = Theme::onFill();
    if (icon > 0) {
        painter.drawPixmap(QPointF(x, capsule.center().y() - icon / 2.0),
                           Symbols::pixmap(symbol(), icon, color, devicePixelRatioF()));
        x += icon + spacing;
    }
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(QRectF(x, capsule.top(), textWidth + 1, capsule.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, shown);
}

} // namespace dorvale
