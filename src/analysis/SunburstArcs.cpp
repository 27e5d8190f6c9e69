// The layout, hit test and painting of the sunburst's arcs: pure functions of a tree and a
// size, shared by the view, its tests and its benchmark.
#include "analysis/SunburstView.hpp"
#include "app/PathText.hpp"
#include "platform/Paths.hpp"
#include "style/Theme.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dorvale {

namespace {

constexpr double fullTurn = 2 * std::numbers::pi;
// Narrower arcs are not laid out: this bounds a ring to about 1,570 arcs.
constexpr double minimumSpan = 0.004;
constexpr double ringGap = 1.5;
constexpr double dimmedOpacity = 0.25;
constexpr double depthFade = 0.12;
constexpr double leastOpacity = 0.45;
// An arc shorter than this at its outer edge, in device pixels, is merged with the narrow
// arcs beside it in its ring into one band of about this width; a band that stays narrower
// is not drawn.
constexpr double leastDrawnLength = 1.0;
// Narrower arcs are drawn without an outline.
constexpr double leastOutlinedLength = 8.0;
// An arc that widens by less than this from its inner to its outer edge, in device pixels,
// is painted as a straight band of its middle width: it is off by less than a quarter pixel
// at its corners, and the painter fills a thick line many times faster than an outline of
// curves, most of all when the arc is tall and thin.
constexpr double mostStraightWidening = 1.0;
// Arcs whose ends are this close, in radians, touch.
constexpr double touching = 1e-9;

struct Layout {
    int maxDepth;
    std::vector<SunburstView::Arc>& arcs;

    void children(const FileNode& node, int depth, const QColor* inherited, double start,
                  double span) {
        if (maxDepth < depth || node.size() < 1) {
            return;
        }
        std::vector<const FileNode*> shown;
        for (const FileNode* child : node.children()) {
            if (!child->deleted()) {
                shown.push_back(child);
            }
        }
        sortBySizeDescending(shown);
        const double parentSize = static_cast<double>(node.size());
        const double end = start + span;
        double cursor = start;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const FileNode& child = *shown[i];
            if (child.size() < 1) {
                continue;
            }
            // A child can never take more than what its parent has left, even when rounding
            // or inconsistent sizes would make the spans add up to more.
            const double childSpan =
                std::min(span * static_cast<double>(child.size()) / parentSize, end - cursor);
            if (!(childSpan >= minimumSpan)) {
                return;
            }
            const QColor color =
                inherited != nullptr ? *inherited : SunburstView::palette()[i % 12];
            arcs.push_back({&child, depth, cursor, cursor + childSpan, color});
            if (child.isDirectory()) {
                children(child, depth + 1, &color, cursor, childSpan);
            }
            cursor += childSpan;
        }
    }
};

bool isInside(const FileNode* node, const FileNode* folder) {
    for (const FileNode* up = node->parent(); up != nullptr; up = up->parent()) {
        if (up == folder) {
            return true;
        }
    }
    return false;
}

constexpr double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// `color` at `opacity` over `background`, as one opaque colour: opaque fills are drawn in
// whole spans, where translucent ones blend every pixel.
QColor blended(const QColor& color, const QColor& background, double opacity) {
    const auto mix = [opacity](double a, double b) {
        return a * opacity + b * (1 - opacity);
    };
    return QColor::fromRgbF(static_cast<float>(mix(color.redF(), background.redF())),
                            static_cast<float>(mix(color.greenF(), background.greenF())),
                            static_cast<float>(mix(color.blueF(), background.blueF())));
}

// The arcs of one ring as they are painted: wide arcs one by one, runs of narrow neighbours
// merged into bands in their mixed colour.
class ArcPainter {
public:
    ArcPainter(QPainter& painter, const SunburstView::Geometry& geometry, qreal pixelRatio,
               const QColor& background)
        : m_painter(painter)
        , m_geometry(geometry)
        , m_ratio(pixelRatio) {
        // A cosmetic pen is one device pixel whatever the ratio; a scaled pen would be
        // stroked as an outline of its own and cost several times the fill.
        m_outline = QPen(background, 1);
        m_outline.setCosmetic(true);
    }

    void add(int depth, double start, double end, const QColor& color) {
        if (depth >= static_cast<int>(m_runs.size())) {
            m_runs.resize(static_cast<std::size_t>(depth) + 1);
        }
        Run& run = m_runs[static_cast<std::size_t>(depth)];
        if (outerLength(depth, end - start) >= leastDrawnLength) {
            flush(run);
            paint(depth, start, end, color);
            return;
        }
        if (run.span() > 0 && std::abs(run.end - start) > touching) {
            flush(run);
        }
        if (!(run.span() > 0)) {
            run = Run{depth, start, start};
        }
        run.add(end, color);
        if (outerLength(depth, run.span()) >= leastDrawnLength) {
            flush(run);
        }
    }

    // Paints the runs still open.
    void finish() {
        for (Run& run : m_runs) {
            flush(run);
        }
    }

private:
    struct Run {
        int depth = 0;
        double start = 0;
        double end = 0;
        // The colours' channels, each weighted by its arc's span.
        double red = 0;
        double green = 0;
        double blue = 0;

        [[nodiscard]] double span() const { return end - start; }
        void add(double to, const QColor& color) {
            const double width = to - end;
            red += color.redF() * width;
            green += color.greenF() * width;
            blue += color.blueF() * width;
            end = to;
        }
        [[nodiscard]] QColor color() const {
            const double span = this->span();
            return QColor::fromRgbF(static_cast<float>(red / span),
                                    static_cast<float>(green / span),
                                    static_cast<float>(blue / span));
        }
    };

    [[nodiscard]] double inner(int depth) const { return m_geometry.ringWidth * depth; }
    [[nodiscard]] double outer(int depth) const {
        return m_geometry.ringWidth * (depth + 1) - ringGap;
    }
    [[nodiscard]] double outerLength(int depth, double span) const {
        return span * outer(depth) * m_ratio;
    }

    void flush(Run& run) {
        if (run.span() > 0 && outerLength(run.depth, run.span()) >= leastDrawnLength) {
            paint(run.depth, run.start, run.end, run.color());
        }
        run = {};
    }

    void paint(int depth, double start, double end, const QColor& color) {
        const double span = end - start;
        const double length = outerLength(depth, span);
        const double widening = span * (outer(depth) - inner(depth)) * m_ratio;
        if (length < leastOutlinedLength && widening < mostStraightWidening) {
            paintStraight(depth, start, end, color);
            return;
        }
        // An outline would cover most of a narrow arc, and costs more than its fill.
        m_painter.setPen(length < leastOutlinedLength ? QPen(Qt::NoPen) : m_outline);
        m_painter.setBrush(color);
        m_painter.drawPath(arcShape(depth, start, end));
    }

    // A line as wide as the arc at its middle radius, along the radius through its middle.
    void paintStraight(int depth, double start, double end, const QColor& color) {
        const double from = inner(depth);
        const double to = outer(depth);
        const double middle = (start + end) / 2;
        m_painter.setPen(QPen(color, (end - start) * (from + to) / 2, Qt::SolidLine, Qt::FlatCap));
        const QPointF direction(std::sin(middle), -std::cos(middle));
        m_painter.drawLine(m_geometry.center + direction * from,
                           m_geometry.center + direction * to);
    }

    // The ring segment from `start` to `end`, in Qt's angles (counter-clockwise from 3
    // o'clock).
    [[nodiscard]] QPainterPath arcShape(int depth, double start, double end) const {
        const double in = inner(depth);
        const double out = outer(depth);
        const QPointF c = m_geometry.center;
        const QRectF outerRect(c.x() - out, c.y() - out, 2 * out, 2 * out);
        const QRectF innerRect(c.x() - in, c.y() - in, 2 * in, 2 * in);
        const double startAngle = 90.0 - degrees(start);
        const double sweep = degrees(end - start);
        QPainterPath path;
        path.arcMoveTo(outerRect, startAngle);
        path.arcTo(outerRect, startAngle, -sweep);
        path.arcTo(innerRect, startAngle - sweep, sweep);
        path.closeSubpath();
        return path;
    }

    QPainter& m_painter;
    const SunburstView::Geometry& m_geometry;
    qreal m_ratio;
    QPen m_outline;
    // The open run of narrow arcs of each ring, by depth.
    std::vector<Run> m_runs;
};

} // namespace

const std::array<QColor, 12>& SunburstView::palette() {
    static const std::array<QColor, 12> colors = {
        Theme::blue(),         QColor(52, 195, 160), QColor(245, 184, 61), QColor(255, 107, 138),
        QColor(181, 123, 255), QColor(255, 159, 67), QColor(61, 214, 245), QColor(123, 224, 123),
        QColor(232, 121, 249), QColor(96, 165, 250), QColor(250, 204, 21), QColor(45, 212, 191),
    };
    return colors;
}

SunburstView::Geometry SunburstView::Geometry::of(QSizeF size, int maxDepth) {
    Geometry geometry;
    geometry.radius = std::max(std::min(size.width(), size.height()), 0.0) * 0.5;
    geometry.center = {size.width() * 0.5, size.height() * 0.5};
    geometry.ringWidth = geometry.radius / (std::max(maxDepth, 0) + 1);
    return geometry;
}

std::optional<int> SunburstView::Geometry::ringAt(QPointF point) const {
    const double ring = std::hypot(point.x() - center.x(), point.y() - center.y()) / ringWidth;
    // A chart of no size divides by zero: such a ring is no number and hits nothing.
    if (!std::isfinite(ring) || ring >= 1e6) {
        return std::nullopt;
    }
    return static_cast<int>(ring);
}

double SunburstView::Geometry::angleAt(QPointF point) const {
    double angle = std::atan2(point.x() - center.x(), -(point.y() - center.y()));
    if (angle < 0) {
        angle += fullTurn;
    }
    return angle;
}

bool SunburstView::Geometry::inCentre(QPointF point) const {
    return std::hypot(point.x() - center.x(), point.y() - center.y()) < ringWidth;
}

std::vector<SunburstView::Arc> SunburstView::layoutArcs(const FileNode& root, int maxDepth) {
    std::vector<Arc> arcs;
    Layout{maxDepth, arcs}.children(root, 1, nullptr, 0, fullTurn);
    return arcs;
}

const SunburstView::Arc* SunburstView::hitTest(const std::vector<Arc>& arcs,
                                               const Geometry& geometry, QPointF point) {
    const std::optional<int> ring = geometry.ringAt(point);
    if (!ring || *ring < 1) {
        return nullptr;
    }
    const double angle = geometry.angleAt(point);
    const auto hit = std::find_if(arcs.begin(), arcs.end(), [&](const Arc& arc) {
        return arc.depth == *ring && arc.start <= angle && angle < arc.end;
    });
    return hit == arcs.end() ? nullptr : &*hit;
}

double SunburstView::arcOpacity(const Arc& arc, const FileNode* hovered) {
    if (hovered != nullptr && arc.node != hovered && !isInside(arc.node, hovered)) {
        return dimmedOpacity;
    }
    return std::max(1.0 - (arc.depth - 1) * depthFade, leastOpacity);
}

QString SunburstView::centerTitle(const FileNode& node, std::string_view dataVolume) {
    const std::string path = node.path();
    const std::string_view matching = matchingPath(path, dataVolume);
    if (matching == "/") {
        return tr("Disk");
    }
    return pathText(lastComponent(matching));
}

QImage SunburstView::drawArcs(const std::vector<Arc>& arcs, QSize size, int maxDepth,
                              qreal pixelRatio, const FileNode* hovered, const QColor& background) {
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(background);
    const Geometry geometry = Geometry::of(QSizeF(size), maxDepth);
    if (arcs.empty() || !(geometry.ringWidth > 0)) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ArcPainter arcPainter(painter, geometry, pixelRatio, background);
    for (const Arc& arc : arcs) {
        if (arc.depth >= 1 && arc.end > arc.start) {
            arcPainter.add(arc.depth, arc.start, arc.end,
                           blended(arc.color, background, arcOpacity(arc, hovered)));
        }
    }
    arcPainter.finish();
    return image;
}

} // namespace dorvale
