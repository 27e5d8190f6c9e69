#include "widgets/DonutChart.hpp"

#include "app/ByteText.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dorvale {

namespace {

constexpr qreal fullCircle = 360;
// Corners smaller than this are not worth rounding.
constexpr qreal smallestCorner = 0.25;
// The centre's text keeps this share of the hole's width clear at each side.
constexpr qreal centreMargin = 0.1;

qreal degrees(qreal radians) {
    return radians * 180 / std::numbers::pi;
}

qreal radians(qreal degrees) {
    return degrees * std::numbers::pi / 180;
}

QRectF circle(const QPointF& centre, qreal radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

// The annular sector between the radii, its edges `innerTrim` and `outerTrim` degrees inside
// the placement's ends on the inner and outer arc. Qt's angles run anticlockwise from three
// o'clock; ours clockwise from twelve.
QPainterPath annularSector(const QPointF& centre, qreal inner, qreal outer, qreal start,
                           qreal sweep, qreal innerTrim, qreal outerTrim) {
    QPainterPath path;
    const QRectF outerCircle = circle(centre, outer);
    const QRectF innerCircle = circle(centre, inner);
    path.arcMoveTo(outerCircle, 90 - (start + outerTrim));
    path.arcTo(outerCircle, 90 - (start + outerTrim), -(sweep - 2 * outerTrim));
    path.arcTo(innerCircle, 90 - (start + sweep - innerTrim), sweep - 2 * innerTrim);
    path.closeSubpath();
    return path;
}

// The largest corner that fits the sector: within half the ring's thickness, and small
// enough that a circle of that radius touching both straight edges stays outside the hole.
qreal fittingCorner(qreal inner, qreal outer, qreal sweep) {
    qreal corner = std::min(DonutChart::cornerRadius, (outer - inner) / 2);
    const qreal half = std::sin(radians(std::min<qreal>(sweep, 180) / 2));
    if (half < 1) {
        corner = std::min(corner, 0.999 * inner * half / (1 - half));
    }
    return corner;
}

} // namespace

DonutChart::DonutChart(int diameter, QWidget* parent)
    : QWidget(parent)
    , m_diameter(diameter) {
    setAccessibleRole(*this, QAccessible::Chart);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DonutChart::setSectors(std::vector<Sector> sectors) {
    m_sectors = std::move(sectors);
    describe();
    update();
}

void DonutChart::setHighlighted(std::optional<QString> id) {
    m_highlighted = std::move(id);
    update();
}

void DonutChart::setCentre(const QString& figure, const QString& caption) {
    m_figure = figure;
    m_caption = caption;
    describe();
    update();
}

qreal DonutChart::shownOpacity(const QString& id) const {
    const auto found = std::find_if(m_sectors.begin(), m_sectors.end(),
                                    [&id](const Sector& sector) { return sector.id == id; });
    if (found == m_sectors.end()) {
        return 0;
    }
    const bool faded = found->followsHighlight && m_highlighted && *m_highlighted != id;
    return found->color.alphaF() * (faded ? fadedOpacity : 1.0);
}

std::vector<DonutChart::Placement> DonutChart::placements() const {
    return layout(m_sectors, outerRadius());
}

std::vector<DonutChart::Placement> DonutChart::layout(const std::vector<Sector>& sectors,
                                                      qreal outerRadius) {
    std::vector<Placement> placements;
    double sum = 0;
    for (const Sector& sector : sectors) {
        sum += static_cast<double>(std::max<std::int64_t>(0, sector.value));
    }
    const qreal meanRadius = outerRadius * (1 + innerRatio) / 2;
    if (!(sum > 0) || !(meanRadius > 0)) {
        return placements;
    }
    const qreal trim = degrees(inset / meanRadius);
    double before = 0;
    for (std::size_t index = 0; index < sectors.size(); ++index) {
        const double value = static_cast<double>(std::max<std::int64_t>(0, sectors[index].value));
        const qreal start = fullCircle * before / sum;
        before += value;
        const qreal span = fullCircle * before / sum - start;
        if (span - 2 * trim > 0) {
            placements.push_back({index, start + trim, span - 2 * trim});
        }
    }
    return placements;
}

// The sector is drawn shrunk by the corner radius and then widened by it again with round
// joins, which rounds each corner by exactly that radius.
QPainterPath DonutChart::sectorPath(const QPointF& centre, qreal innerRadius, qreal outerRadius,
                                    const Placement& placement) {
    const qreal corner = fittingCorner(innerRadius, outerRadius, placement.sweep);
    if (corner < smallestCorner) {
        return annularSector(centre, innerRadius, outerRadius, placement.start, placement.sweep, 0,
                             0);
    }
    const qreal inner = innerRadius + corner;
    const qreal outer = outerRadius - corner;
    const qreal innerTrim = std::min(degrees(std::asin(corner / inner)), placement.sweep / 2);
    const qreal outerTrim = degrees(std::asin(corner / outer));
    const QPainterPath core =
        annularSector(centre, inner, outer, placement.start, placement.sweep, innerTrim, outerTrim);
    QPainterPathStroker stroker;
    stroker.setWidth(2 * corner);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return core.united(stroker.createStroke(core)).simplified();
}

QSize DonutChart::sizeHint() const {
    return {m_diameter, m_diameter};
}

QSize DonutChart::minimumSizeHint() const {
    return sizeHint();
}

void DonutChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal outer = outerRadius();
    const qreal inner = outer * innerRatio;
    const QPointF centre = QRectF(rect()).center();
    painter.setPen(Qt::NoPen);
    for (const Placement& placement : placements()) {
        const Sector& sector = m_sectors[placement.index];
        const QPainterPath path = sectorPath(centre, inner, outer, placement);
        const bool faded = sector.followsHighlight && m_highlighted && *m_highlighted != sector.id;
        painter.setOpacity(faded ? fadedOpacity : 1.0);
        if (sector.gradient) {
            painter.setBrush(Theme::gradient(sector.color, path.boundingRect()));
        } else {
            painter.setBrush(sector.color);
        }
        painter.drawPath(path);
    }
    painter.setOpacity(1);
    paintCentre(painter, inner);
}

qreal DonutChart::outerRadius() const {
    return std::min(width(), height()) / 2.0;
}

// Two lines centred in the hole, 2 pixels apart, cut with "…" rather than running onto the
// ring.
void DonutChart::paintCentre(QPainter& painter, qreal innerRadius) const {
    const QFont figureFont = Typography::font(TextStyle::Title2, FontWeight::Bold, Digits::Tabular);
    const QFont captionFont = Typography::font(TextStyle::Caption);
    const QFontMetricsF figureMetrics(figureFont);
    const QFontMetricsF captionMetrics(captionFont);
    const qreal width = 2 * innerRadius * (1 - 2 * centreMargin);
    const qreal height = figureMetrics.height() + Theme::Space::hairline + captionMetrics.height();
    const QPointF centre = QRectF(rect()).center();
    const QRectF figureRect(centre.x() - width / 2, centre.y() - height / 2, width,
                            figureMetrics.height());
    const QRectF captionRect(figureRect.left(), figureRect.bottom() + Theme::Space::hairline, width,
                             captionMetrics.height());
    painter.setFont(figureFont);
    painter.setPen(Theme::foreground(*this, Tone::Primary));
    painter.drawText(figureRect, Qt::AlignCenter,
                     figureMetrics.elidedText(m_figure, Qt::ElideRight, width));
    painter.setFont(captionFont);
    painter.setPen(Theme::foreground(*this, Tone::Secondary));
    painter.drawText(captionRect, Qt::AlignCenter,
                     captionMetrics.elidedText(m_caption, Qt::ElideRight, width));
}

void DonutChart::describe() {
    QStringList parts;
    for (const Sector& sector : m_sectors) {
        parts.append(tr("%1: %2").arg(sector.title, byteText(sector.value)));
    }
    if (!m_figure.isEmpty()) {
        parts.append(tr("%1: %2").arg(m_caption, m_figure));
    }
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

} // namespace dorvale
