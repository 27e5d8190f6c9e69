#pragma once

#include "widgets/Segment.hpp"

#include <QHash>
#include <QRectF>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QVariantAnimation;

namespace dorvale {

/// A horizontal bar split into parts in list order, each as wide as its share of `total`;
/// what the parts leave over stays empty. The part under the pointer stays opaque while the
/// others fade, and its tool tip gives its title and size. To assistive technology it is a
/// chart named "Composition" (its owner may name it better) whose description lists every
/// part with its size.
class SegmentedBar : public QWidget {
    Q_OBJECT

public:
    /// Where one drawn part lies.
    struct Placement {
        QString id;
        /// The part's position in the list.
        std::size_t index = 0;
        QRectF rect;
    };

    SegmentedBar(std::vector<Segment> segments, std::int64_t total, int height,
                 QWidget* parent = nullptr);

    void setSegments(std::vector<Segment> segments, std::int64_t total);
    [[nodiscard]] const std::vector<Segment>& segments() const { return m_segments; }

    /// The id of the hovered part, if any.
    [[nodiscard]] std::optional<QString> hovered() const { return m_hovered; }
    /// The opacity a part is shown at once the fade has run: 1 while no part or this part is
    /// hovered, else 0.45.
    [[nodiscard]] qreal targetOpacity(const QString& id) const;
    /// The drawn parts at the current size.
    [[nodiscard]] std::vector<Placement> placements() const;
    /// The part under `point`, if any. Gaps between parts belong to none.
    [[nodiscard]] std::optional<QString> segmentAt(const QPointF& point) const;
    /// "<title>: <size>" for the part with this id.
    [[nodiscard]] QString toolTipFor(const QString& id) const;

    /// The drawn parts of a bar `width` × `height`: nothing when `total` is 0 or less; a part
    /// narrower than 1 pixel is left out; each part leaves 2 pixels of gap before the next.
    [[nodiscard]] static std::vector<Placement>
    layout(const std::vector<Segment>& segments, std::int64_t total, qreal width, qreal height);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHovered(std::optional<QString> id);
    [[nodiscard]] qreal shownOpacity(const QString& id) const;
    void describe();

    std::vector<Segment> m_segments;
    std::int64_t m_total;
    std::optional<QString> m_hovered;
    // The fade runs from the opacity each part showed when the hover changed to its target.
    QHash<QString, qreal> m_fadeFrom;
    QVariantAnimation* m_fade;
};

} // namespace dorvale
