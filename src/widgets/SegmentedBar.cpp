#include "widgets/SegmentedBar.hpp"

#include "app/ByteText.hpp"
#include "style/Theme.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace dorvale {

namespace {

constexpr qreal gap = Theme::Space::hairline;
constexpr qreal minimumSegmentWidth = 1;
constexpr qreal dimmedOpacity = 0.45;
constexpr qreal trackOpacity = 0.06;
constexpr int fadeMilliseconds = 200;
constexpr int preferredWidth = 240;

} // namespace

SegmentedBar::SegmentedBar(std::vector<Segment> segments, std::int64_t total, int height,
                           QWidget* parent)
    : QWidget(parent)
    , m_segments(std::move(segments))
    , m_total(total)
    , m_fade(new QVariantAnimation(this)) {
    setAccessibleRole(*this, QAccessible::Chart);
    setAccessibleName(tr("Composition"));
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(1.0);
    m_fade->setDuration(fadeMilliseconds);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this] { update(); });
    describe();
}

void SegmentedBar::setSegments(std::vector<Segment> segments, std::int64_t total) {
    m_segments = std::move(segments);
    m_total = total;
    const bool hoveredRemains = m_hovered && std::any_of(m_segments.begin(), m_segments.end(),
                                                         [this](const Segment& segment) {
                                                             return segment.id == *m_hovered;
                                                         });
    if (!hoveredRemains) {
        setHovered(std::nullopt);
    }
    describe();
    update();
}

qreal SegmentedBar::targetOpacity(const QString& id) const {
    return !m_hovered || *m_hovered == id ? 1.0 : dimmedOpacity;
}

std::vector<SegmentedBar::Placement> SegmentedBar::placements() const {
    return layout(m_segments, m_total, width(), height());
}

std::optional<QString> SegmentedBar::segmentAt(const QPointF& point) const {
    for (const Placement& placement : placements()) {
        const QRectF& rect = placement.rect;
        if (point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() &&
            point.y() < rect.bottom()) {
            return placement.id;
        }
    }
    return std::nullopt;
}

QString SegmentedBar::toolTipFor(const QString& id) const {
    const auto found = std::find_if(m_segments.begin(), m_segments.end(),
                                    [&id](const Segment& segment) { return segment.id == id; });
    if (found == m_segments.end()) {
        return {};
    }
    return tr("%1: %2").arg(found->title, byteText(found->value));
}

std::vector<SegmentedBar::Placement> SegmentedBar::layout(const std::vector<Segment>& segments,
                                                          std::int64_t total, qreal width,
                                                          qreal height) {
    std::vector<Placement> placements;
    if (total <= 0) {
        return placements;
    }
    qreal x = 0;
    for (std::size_t index = 0; index < segments.size(); ++index) {
        const Segment& segment = segments[index];
        const double share = static_cast<double>(segment.value) / static_cast<double>(total);
        const qreal segmentWidth = std::clamp(share, 0.0, 1.0) * width;
        if (!(segmentWidth >= minimumSegmentWidth)) {
            continue;
        }
        const qreal drawn = std::max<qreal>(segmentWidth - gap, 0);
        placements.push_back({segment.id, index, QRectF(x, 0, drawn, height)});
        x += drawn + gap;
    }
    return placements;
}

QSize SegmentedBar::sizeHint() const {
    return {preferredWidth, height()};
}

QSize SegmentedBar::minimumSizeHint() const {
    return {0, height()};
}

bool SegmentedBar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<QString> id = segmentAt(help->pos());
        if (id) {
            QToolTip::showText(help->globalPos(), toolTipFor(*id), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void SegmentedBar::leaveEvent(QEvent* event) {
    setHovered(std::nullopt);
    QWidget::leaveEvent(event);
}

void SegmentedBar::mouseMoveEvent(QMouseEvent* event) {
    setHovered(segmentAt(event->position()));
    QWidget::mouseMoveEvent(event);
}

void SegmentedBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = height() / 3.0;
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), radius, radius);
    painter.setClipPath(clip);
    painter.fillRect(rect(),
                     Theme::withOpacity(Theme::foreground(*this, Tone::Primary), trackOpacity));
    const std::vector<Placement> drawn = placements();
    for (const Placement& placement : drawn) {
        if (placement.rect.width() <= 0) {
            continue;
        }
        const Segment& segment = m_segments[placement.index];
        painter.setOpacity(shownOpacity(placement.id));
        painter.fillRect(placement.rect, Theme::gradient(segment.color, placement.rect));
    }
}

void SegmentedBar::setHovered(std::optional<QString> id) {
    if (id == m_hovered) {
        return;
    }
    QHash<QString, qreal> from;
    for (const Segment& segment : m_segments) {
        from.insert(segment.id, shownOpacity(segment.id));
    }
    m_fadeFrom = std::move(from);
    m_hovered = std::move(id);
    m_fade->stop();
    m_fade->start();
    update();
}

qreal SegmentedBar::shownOpacity(const QString& id) const {
    const qreal target = targetOpacity(id);
    if (m_fade->state() != QAbstractAnimation::Running) {
        return target;
    }
    const qreal from = m_fadeFrom.value(id, target);
    return from + (target - from) * m_fade->currentValue().toReal();
}

void SegmentedBar::describe() {
    QStringList parts;
    for (const Segment& segment : m_segments) {
        parts.append(toolTipFor(segment.id));
    }
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

} // namespace dorvale
