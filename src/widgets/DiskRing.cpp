#include "widgets/DiskRing.hpp"

#include "style/RingGradient.hpp"
#include "style/Theme.hpp"

#include <QEasingCurve>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace dorvale {

namespace {

// The value is kept in thousandths, as assistive technology reads it.
constexpr int steps = 1000;
constexpr qreal fullLineWidth = 14;
// Below this share of the ring's side the line gets thinner, so that a small ring keeps room
// for a text inside it.
constexpr qreal lineShare = 0.14;
constexpr qreal trackOpacity = 0.06;
constexpr double dangerShare = 0.9;
constexpr int appearMilliseconds = 1200;
constexpr int hintSide = 120;

} // namespace

DiskRing::DiskRing(QWidget* parent)
    : QProgressBar(parent)
    , m_appear(new QVariantAnimation(this)) {
    setRange(0, steps);
    setValue(0);
    setTextVisible(false);
    m_appear->setStartValue(0.0);
    m_appear->setEndValue(1.0);
    m_appear->setDuration(appearMilliseconds);
    m_appear->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_appear, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void DiskRing::setUsage(std::int64_t used, std::int64_t total) {
    m_used = used;
    m_total = total;
    setValue(static_cast<int>(std::lround(fraction() * steps)));
    update();
}

double DiskRing::fraction(std::int64_t used, std::int64_t total) {
    if (total < 1) {
        return 0;
    }
    return std::clamp(static_cast<double>(used) / static_cast<double>(total), 0.0, 1.0);
}

double DiskRing::shownFraction() const {
    if (!m_appeared) {
        return 0;
    }
    const double progress = m_appear->state() == QAbstractAnimation::Running
                                ? m_appear->currentValue().toDouble()
                                : 1.0;
    return fraction() * progress;
}

QColor DiskRing::endColor(double fraction) {
    return fraction > dangerShare ? Theme::danger() : Theme::accent();
}

qreal DiskRing::lineWidth() const {
    return std::min(fullLineWidth, std::min(width(), height()) * lineShare);
}

QSize DiskRing::sizeHint() const {
    return {hintSide, hintSide};
}

QSize DiskRing::minimumSizeHint() const {
    return {1, 1};
}

void DiskRing::showEvent(QShowEvent* event) {
    QProgressBar::showEvent(event);
    if (!m_appeared) {
        m_appeared = true;
        m_appear->start();
    }
}

void DiskRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = lineWidth();
    const qreal side = std::min(width(), height()) - line;
    const QRectF circle(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    painter.setPen(QPen(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), trackOpacity),
                        line, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(circle);
    paintArc(painter, circle);
}

// The gradient spans the whole used share while the arc grows into it, from the top; its seam
// shrinks as the arc closes on its own start.
void DiskRing::paintArc(QPainter& painter, const QRectF& circle) const {
    const double shown = shownFraction();
    if (shown <= 0) {
        return;
    }
    const double whole = fraction();
    RingGradient gradient(circle.center(), 90, std::min(RingGradient::capSeam, (1 - whole) * 360));
    gradient.setColorAt(whole * 360, endColor(whole));
    gradient.setColorAt(whole * 180, Theme::accent());
    gradient.setColorAt(0, Theme::accentSecondary());
    painter.setPen(QPen(gradient.brush(), lineWidth(), Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, 90 * 16, -qRound(shown * 360 * 16));
}

} // namespace dorvale
