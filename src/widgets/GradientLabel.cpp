#include "widgets/GradientLabel.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace dorvale {

GradientLabel::GradientLabel(const QString& text, QWidget* parent)
    : QWidget(parent) {
    setAccessibleRole(*this, QAccessible::StaticText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setText(text);
}

void GradientLabel::setText(const QString& text) {
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize GradientLabel::sizeHint() const {
    return {Typography::textWidth(font(), m_text), QFontMetrics(font()).height()};
}

QSize GradientLabel::minimumSizeHint() const {
    return sizeHint();
}

void GradientLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
}

void GradientLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int textWidth = Typography::textWidth(font(), m_text);
    const QRectF area((width() - textWidth) / 2.0, 0, textWidth, height());
    painter.setPen(QPen(QBrush(Theme::accentGradient(area)), 1));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

} // namespace dorvale
