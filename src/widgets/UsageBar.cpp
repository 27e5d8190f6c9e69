#include "widgets/UsageBar.hpp"

#include "style/Theme.hpp"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace dorvale {

namespace {

// The bar's value is kept in thousandths: fine enough for any width it is drawn at.
constexpr int steps = 1000;
constexpr int barHeight = 6;
constexpr qreal trackOpacity = 0.1;

} // namespace

UsageBar::UsageBar(QWidget* parent)
    : QProgressBar(parent)
    , m_tint(Theme::accent()) {
    setRange(0, steps);
    setValue(0);
    setTextVisible(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void UsageBar::setFraction(double fraction) {
    const double shown = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    setValue(static_cast<int>(std::lround(shown * steps)));
}

double UsageBar::fraction() const {
    return static_cast<double>(value()) / steps;
}

void UsageBar::setTint(const QColor& tint) {
    m_tint = tint;
    update();
}

QSize UsageBar::sizeHint() const {
    return {120, barHeight};
}

QSize UsageBar::minimumSizeHint() const {
    return {barHeight * 2, barHeight};
}

void UsageBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF track(0, (height() - barHeight) / 2.0, width(), barHeight);
    const qreal radius = barHeight / 2.0;
    painter.setBrush(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), trackOpacity));
    painter.drawRoundedRect(track, radius, radius);
    if (value() <= 0) {
        return;
    }
    // A sliver of a share still shows as a dot of the bar's height.
    const qreal filled = std::max(track.width() * fraction(), static_cast<qreal>(barHeight));
    painter.setBrush(m_tint);
    painter.drawRoundedRect(QRectF(track.topLeft(), QSizeF(filled, barHeight)), radius, radius);
}

} // namespace dorvale
