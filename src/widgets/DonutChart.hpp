#pragma once

#include <QColor>
#include <QPainterPath>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace dorvale {

/// A ring split into sectors, each as long as its share of the sectors' sum, clockwise from
/// twelve o'clock, with two lines of text in the middle (a figure and what it counts). Each
/// sector is inset at both ends, so a small gap parts it from the next, and has rounded
/// corners. While one sector is highlighted, the others that follow the highlight fade.
///
/// To assistive technology it is a chart whose description lists every sector with its
/// size and reads the centre's text; its owner gives it a name.
class DonutChart : public QWidget {
    Q_OBJECT

public:
    struct Sector {
        QString id;
        QString title;
        std::int64_t value = 0;
        /// The fill; its alpha is kept.
        QColor color;
        /// Filled with the soft gradient of `color` (`Theme::gradient`), else with it plainly.
        bool gradient = true;
        /// Fades while another sector is highlighted.
        bool followsHighlight = true;
    };

    /// Where one drawn sector lies, in degrees clockwise from twelve o'clock.
    struct Placement {
        /// The sector's position in the list.
        std::size_t index = 0;
        qreal start = 0;
        qreal sweep = 0;
    };

    /// The inner radius as a share of the outer one.
    static constexpr qreal innerRatio = 0.62;
    /// Each sector's ends are inset by this arc length at the ring's mean radius.
    static constexpr qreal inset = 1.5;
    static constexpr qreal cornerRadius = 4;
    /// The opacity of a sector that fades for the highlighted one.
    static constexpr qreal fadedOpacity = 0.35;

    explicit DonutChart(int diameter, QWidget* parent = nullptr);

    void setSectors(std::vector<Sector> sectors);
    [[nodiscard]] const std::vector<Sector>& sectors() const { return m_sectors; }
    /// Highlights the sector with this id; nothing highlights none.
    void setHighlighted(std::optional<QString> id);
    [[nodiscard]] const std::optional<QString>& highlighted() const { return m_highlighted; }
    /// The two lines in the middle.
    void setCentre(const QString& figure, const QString& caption);
    [[nodiscard]] QString centreFigure() const { return m_figure; }
    [[nodiscard]] QString centreCaption() const { return m_caption; }

    /// How opaque the sector with this id shows: its colour's alpha, faded while another
    /// sector is highlighted and this one follows the highlight.
    [[nodiscard]] qreal shownOpacity(const QString& id) const;
    /// The drawn sectors at the current size.
    [[nodiscard]] std::vector<Placement> placements() const;

    /// The drawn sectors of a ring of `outerRadius`: none when the values sum to 0 or less
    /// (a value below 0 counts as 0), and none for a sector the insets would leave no length.
    [[nodiscard]] static std::vector<Placement> layout(const std::vector<Sector>& sectors,
                                                       qreal outerRadius);
    /// The outline of a sector of the ring between the radii, with rounded corners.
    [[nodiscard]] static QPainterPath sectorPath(const QPointF& centre, qreal innerRadius,
                                                 qreal outerRadius, const Placement& placement);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] qreal outerRadius() const;
    void paintCentre(QPainter& painter, qreal innerRadius) const;
    void describe();

    int m_diameter;
    std::vector<Sector> m_sectors;
    std::optional<QString> m_highlighted;
    QString m_figure;
    QString m_caption;
};

} // namespace dorvale
