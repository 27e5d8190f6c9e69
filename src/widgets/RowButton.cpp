#include "widgets/RowButton.hpp"

#include "style/Theme.hpp"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QPainter>

namespace dorvale {

namespace {

constexpr qreal pressedVeilOpacity = 0.08;
constexpr qreal focusOpacity = 0.8;
constexpr qreal focusWidth = 2;

} // namespace

RowButton::RowButton(QMargins padding, int spacing, qreal cornerRadius, QWidget* parent)
    : QAbstractButton(parent)
    , m_content(new QHBoxLayout(this))
    , m_cornerRadius(cornerRadius) {
    m_content->setContentsMargins(padding);
    m_content->setSpacing(spacing);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
}

void RowButton::setFill(const QColor& fill) {
    m_fill = fill;
    update();
}

void RowButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    emit hoverChanged(true);
}

void RowButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit hoverChanged(false);
}

void RowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (m_fill.isValid()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fill);
        painter.drawRoundedRect(area, m_cornerRadius, m_cornerRadius);
    }
    if (isDown()) {
        // The label's widgets paint over this; a faint veil says the press took.
        painter.setPen(Qt::NoPen);
        painter.setBrush(
            Theme::withOpacity(Theme::foreground(*this, Tone::Primary), pressedVeilOpacity));
        painter.drawRoundedRect(area, m_cornerRadius, m_cornerRadius);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Theme::withOpacity(Theme::accent(), focusOpacity), focusWidth));
        painter.drawRoundedRect(area, m_cornerRadius, m_cornerRadius);
    }
}

} // namespace dorvale
