#include "widgets/LegendDot.hpp"

#include "style/Theme.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int diameter = 9;

} // namespace

LegendDot::LegendDot(const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_color(color) {
    setFixedSize(diameter, diameter);
}

void LegendDot::setColor(const QColor& color) {
    m_color = color;
    update();
}

void LegendDot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF circle(rect());
    painter.setBrush(Theme::gradient(m_color, circle));
    painter.drawEllipse(circle);
}

} // namespace dorvale
