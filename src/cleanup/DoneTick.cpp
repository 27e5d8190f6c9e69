#include "cleanup/DoneTick.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QEasingCurve>
#include <QPainter>
#include <QVariantAnimation>

namespace dorvale {

namespace {

constexpr int side = 150;
constexpr int tickSize = 84;
constexpr qreal discOpacity = 0.15;
constexpr qreal discStart = 0.6;
constexpr qreal tickStart = 0.3;
constexpr int springMilliseconds = 600;

} // namespace

DoneTick::DoneTick(QWidget* parent)
    : QWidget(parent)
    , m_appear(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("doneTick"));
    setAccessibleRole(*this, QAccessible::Graphic);
    setAccessibleName(tr("Done"));
    setFixedSize(side, side);
    m_appear->setStartValue(0.0);
    m_appear->setEndValue(1.0);
    m_appear->setDuration(springMilliseconds);
    m_appear->setEasingCurve(QEasingCurve::OutBack);
    connect(m_appear, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

qreal DoneTick::appearance() const {
    return m_appear->state() == QAbstractAnimation::Running ? m_appear->currentValue().toReal()
                                                            : 1.0;
}

void DoneTick::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_appear->start();
}

void DoneTick::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal progress = appearance();
    const QPointF centre = QRectF(rect()).center();
    const qreal disc = side * (discStart + (1 - discStart) * progress) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(Theme::safe(), discOpacity));
    painter.drawEllipse(centre, disc, disc);

    QPixmap tick = Symbols::pixmap(QStringLiteral("checkmark.circle.fill"), tickSize, Theme::safe(),
                                   devicePixelRatioF());
    Symbols::fill(tick, Theme::gradient(Theme::safe(), QRectF(0, 0, tickSize, tickSize)));
    const qreal scale = tickStart + (1 - tickStart) * progress;
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.drawPixmap(QPointF(-tickSize / 2.0, -tickSize / 2.0), tick);
}

} // namespace dorvale
