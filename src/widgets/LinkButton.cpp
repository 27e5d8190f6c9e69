#include "widgets/LinkButton.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int focusMargin = 2;
constexpr qreal disabledOpacity = 0.45;

} // namespace

LinkButton::LinkButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LinkButton::sizeHint() const {
    return {Typography::textWidth(font(), text()) + 2 * focusMargin,
            fontMetrics().height() + 2 * focusMargin};
}

QSize LinkButton::minimumSizeHint() const {
    return sizeHint();
}

void LinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont shown = font();
    shown.setUnderline(underMouse() && isEnabled());
    painter.setFont(shown);
    painter.setOpacity(isEnabled() ? (isDown() ? 0.7 : 1.0) : disabledOpacity);
    painter.setPen(Theme::accent());
    const QRect area = rect().adjusted(focusMargin, focusMargin, -focusMargin, -focusMargin);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setOpacity(1);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}

} // namespace dorvale
