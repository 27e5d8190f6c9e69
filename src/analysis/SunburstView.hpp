#pragma once

#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QVariantAnimation;

namespace dorvale {

/// A folder of the scan as concentric rings: the folder is the empty centre disc, its
/// children the first ring, their children the second, down to `maxDepth`. Each arc's angle
/// is its share of its parent's size, from 12 o'clock clockwise. The pointer brightens the
/// subtree under it and reports its node; a click on a folder arc asks to open it, a click
/// on the centre asks to go up. With the keyboard, the arrow keys step from arc to arc,
/// Return opens the folder stepped to and Backspace goes up.
///
/// The arcs are laid out when the root, the size or the depth changes (and on `relayout`),
/// and painted once into an image per hover state, so a hover repaints from a cached image.
/// The view keeps its scan, so its nodes stay valid while it lives.
class SunburstView : public QWidget {
    Q_OBJECT

public:
    /// One laid-out arc: angles in radians from 0 to 2π, clockwise from 12 o'clock; depth 1
    /// is the first ring.
    struct Arc {
        const FileNode* node = nullptr;
        int depth = 0;
        double start = 0;
        double end = 0;
        QColor color;
    };

    /// The rings of a chart `size` big: the radius is half the shorter side, each ring
    /// (and the centre disc) is radius ÷ (maxDepth + 1) wide.
    struct Geometry {
        QPointF center;
        double radius = 0;
        double ringWidth = 0;

        [[nodiscard]] static Geometry of(QSizeF size, int maxDepth);
        /// The ring under `point`: 0 in the centre disc; nothing when the chart has no size.
        [[nodiscard]] std::optional<int> ringAt(QPointF point) const;
        /// The angle of `point` around the centre, clockwise from 12 o'clock, in [0, 2π).
        [[nodiscard]] double angleAt(QPointF point) const;
        /// Whether `point` lies in the centre disc.
        [[nodiscard]] bool inCentre(QPointF point) const;
    };

    /// The twelve colours of the first ring, by position in the size order.
    [[nodiscard]] static const std::array<QColor, 12>& palette();
    /// The arcs of `root`'s children to `maxDepth` rings, in pre-order: every arc comes
    /// before the arcs of what lies inside it. Deleted nodes and nodes of size 0 get no arc;
    /// siblings too small for 0.004 radians get none either, and leave the end of their
    /// parent's span empty. Deeper rings keep the colour of their first-ring ancestor.
    [[nodiscard]] static std::vector<Arc> layoutArcs(const FileNode& root, int maxDepth);
    /// The first arc under `point`, or nothing (the centre disc, a gap, outside the chart).
    [[nodiscard]] static const Arc* hitTest(const std::vector<Arc>& arcs, const Geometry& geometry,
                                            QPointF point);
    /// How opaque `arc` is drawn: dimmed to 0.25 while another subtree is hovered, else
    /// fading by ring from 1 to at least 0.45.
    [[nodiscard]] static double arcOpacity(const Arc& arc, const FileNode* hovered);
    /// What the centre calls a node: "Disk" for the top of the disk (as `dataVolume` or "/"),
    /// else its last path component.
    [[nodiscard]] static QString centerTitle(const FileNode& node, std::string_view dataVolume);
    /// Paints `arcs` into an image of `size` (device-independent pixels) at `pixelRatio`,
    /// those at least 8 device pixels wide outlined in `background`. Neighbouring arcs of a
    /// ring narrower than a device pixel at their outer edge are merged into bands of about a
    /// pixel in their mixed colour; a lone one is not drawn.
    [[nodiscard]] static QImage drawArcs(const std::vector<Arc>& arcs, QSize size, int maxDepth,
                                         qreal pixelRatio, const FileNode* hovered,
                                         const QColor& background);

    /// Shows `root` (a node of `scan`) to `maxDepth` rings; `dataVolume` names the disk's top.
    SunburstView(std::shared_ptr<const ScanResult> scan, const FileNode* root, int maxDepth,
                 std::string dataVolume, QWidget* parent = nullptr);

    void setRoot(const FileNode* root);
    [[nodiscard]] const FileNode* root() const { return m_root; }
    /// Lays the arcs out again, after nodes of the tree were deleted.
    void relayout();
    [[nodiscard]] const std::vector<Arc>& arcs() const;
    [[nodiscard]] Geometry geometry() const;
    [[nodiscard]] const FileNode* hovered() const { return m_hovered; }

    /// The pointer moved to `point`, or left the chart (nothing).
    void handleHover(std::optional<QPointF> point);
    /// A single click at `point`.
    void handleTap(QPointF point);
    /// The three lines the centre shows: title, size, and the hovered share or "Up".
    [[nodiscard]] QStringList centerLabel() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    /// A folder arc (never a package) was clicked.
    void openRequested(const FileNode* folder);
    /// The centre disc was clicked.
    void upRequested();
    /// The node under the pointer changed; null when the pointer is on no arc.
    void hoveredChanged(const FileNode* node);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHovered(const FileNode* node);
    void invalidate();
    void stepFocus(int step);
    [[nodiscard]] const QImage& imageFor(const FileNode* hovered);
    void paintCenterLabel(QPainter& painter) const;
    void describe();

    std::shared_ptr<const ScanResult> m_scan;
    const FileNode* m_root;
    int m_maxDepth;
    std::string m_dataVolume;
    const FileNode* m_hovered = nullptr;
    mutable std::optional<std::vector<Arc>> m_arcs;
    // The picture of the current hover state and of the one it fades from.
    struct Picture {
        const FileNode* hovered = nullptr;
        QImage image;
    };
    Picture m_current;
    Picture m_previous;
    QVariantAnimation* m_fade;
};

} // namespace dorvale
