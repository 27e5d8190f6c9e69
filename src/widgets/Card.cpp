#include "widgets/Card.hpp"

#include "style/Theme.hpp"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr qreal cornerRadius = 14;
constexpr qreal fillOpacity = 0.55;
constexpr qreal borderOpacity = 0.07;
constexpr qreal shadowOpacity = 0.06;
constexpr qreal shadowRadius = 10;
constexpr qreal shadowOffset = 4;

} // namespace

Card::Card(int padding, QWidget* parent)
    : QFrame(parent)
    , m_content(new QVBoxLayout(this)) {
    m_content->setContentsMargins(padding, padding, padding, padding);
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setColor(Theme::withOpacity(Theme::shadow(), shadowOpacity));
    shadow->setBlurRadius(shadowRadius);
    shadow->setOffset(0, shadowOffset);
    setGraphicsEffect(shadow);
}

void Card::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The 1 pixel border lies inside the panel's edge.
    const QRectF panel = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(
        QPen(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), borderOpacity), 1));
    painter.setBrush(Theme::withOpacity(palette().color(QPalette::Base), fillOpacity));
    painter.drawRoundedRect(panel, cornerRadius, cornerRadius);
}

} // namespace dorvale
