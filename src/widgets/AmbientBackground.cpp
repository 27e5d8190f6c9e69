#include "widgets/AmbientBackground.hpp"

#include "style/Theme.hpp"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace dorvale {

namespace {

struct Glow {
    QColor color;
    qreal opacity;
    qreal diameter;
    QPointF offset;
};

constexpr qreal blurRadius = 120;

// A circle of `glow.diameter` blurred by `blurRadius`, approximated by a radial gradient
// that holds the colour inside the circle less the blur and fades out across twice the
// blur. The circle is no taller than the area, as a circle sized by width alone would be.
void paintGlow(QPainter& painter, const QSizeF& area, const Glow& glow) {
    const qreal radius = std::min(glow.diameter, area.height()) / 2;
    const QPointF centre = QPointF(area.width() / 2, area.height() / 2) + glow.offset;
    const qreal outer = radius + blurRadius;
    const QColor color = Theme::withOpacity(glow.color, glow.opacity);
    QRadialGradient gradient(centre, outer);
    gradient.setColorAt(0, color);
    if (radius > blurRadius) {
        gradient.setColorAt((radius - blurRadius) / outer, color);
    }
    gradient.setColorAt(radius / outer, Theme::withOpacity(color, 0.5));
    gradient.setColorAt(1, Theme::withOpacity(color, 0));
    painter.fillRect(QRectF(QPointF(0, 0), area), gradient);
}

} // namespace

AmbientBackground::AmbientBackground(QWidget* parent)
    : QWidget(parent) {}

void AmbientBackground::paintEvent(QPaintEvent*) {
    const QColor window = palette().color(QPalette::Window);
    const qreal ratio = devicePixelRatioF();
    if (m_glows.deviceIndependentSize() != QSizeF(size()) || m_glows.devicePixelRatio() != ratio ||
        m_glowsWindowColor != window.rgba()) {
        m_glows = renderGlows();
        m_glowsWindowColor = window.rgba();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_glows);
}

QPixmap AmbientBackground::renderGlows() const {
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(palette().color(QPalette::Window));
    QPainter painter(&pixmap);
    const QSizeF area(size());
    paintGlow(painter, area, {Theme::accent(), 0.16, 520, {-260, -220}});
    paintGlow(painter, area, {Theme::accentSecondary(), 0.14, 460, {300, 240}});
    return pixmap;
}

} // namespace dorvale
