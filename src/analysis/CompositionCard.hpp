#pragma once

#include "analysis/Composition.hpp"
#include "model/StorageBucket.hpp"
#include "widgets/Card.hpp"

#include <optional>
#include <vector>

class QVBoxLayout;

namespace dorvale {

class AppState;
class DonutChart;
class RowButton;
class SegmentedBar;

/// The overview's card "Where your space goes": the scanned bytes by category as a
/// segmented bar, a donut with the figure of the category under the pointer (or the total)
/// in its middle, and a legend whose rows open the large-files list of their category. A
/// scan of the whole disk adds the share "macOS and other" that the volume uses beyond what
/// the scan found.
///
/// Built for the state's shown scan; follows `volumeChanged`. The category under the pointer
/// is its own state, forgotten with the card.
class CompositionCard : public Card {
    Q_OBJECT

public:
    explicit CompositionCard(AppState& state, QWidget* parent = nullptr);

    /// The used space of the volume beyond what a scan of the whole disk found; 0 for any
    /// other scan, or without the volume's figures.
    [[nodiscard]] static std::int64_t macOSAndOtherBytes(const AppState& state);

    /// The pointer came onto (`inside`) or left the legend row of `bucket`. Leaving a row
    /// clears the highlight only while it is still that row's, so moving straight into the
    /// next row keeps the next one lit.
    void hoverChanged(bool inside, StorageBucket bucket);
    /// Opens the large-files list showing only `bucket`.
    void showCategory(StorageBucket bucket);
    /// The category under the pointer.
    [[nodiscard]] std::optional<StorageBucket> selected() const { return m_selected; }
    [[nodiscard]] const Composition& composition() const { return m_composition; }

    [[nodiscard]] SegmentedBar* bar() const { return m_bar; }
    [[nodiscard]] DonutChart* donut() const { return m_donut; }
    /// The legend's buttons, one per category, in the composition's order.
    [[nodiscard]] const std::vector<RowButton*>& legendRows() const { return m_rows; }
    /// The row of "macOS and other", null while there is no such share.
    [[nodiscard]] QWidget* otherRow() const { return m_otherRow; }

private:
    void refresh();
    void rebuildLegend();
    [[nodiscard]] RowButton* makeLegendRow(StorageBucket bucket, std::int64_t bytes);
    [[nodiscard]] QWidget* makeOtherRow() const;
    void showSelection();

    AppState& m_state;
    Composition m_composition;
    std::optional<StorageBucket> m_selected;
    SegmentedBar* m_bar;
    DonutChart* m_donut;
    QVBoxLayout* m_legend;
    std::vector<RowButton*> m_rows;
    QWidget* m_otherRow = nullptr;
};

} // namespace dorvale
