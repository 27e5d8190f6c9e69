#pragma once

#include "inventory/Recommendation.hpp"
#include "widgets/Card.hpp"

#include <memory>
#include <vector>

class QVBoxLayout;

namespace dorvale {

class ActivitySpinner;
class AppState;
class RowButton;
class WrappingLabel;

/// The overview's card "Recommendations": one row per place where space can be won
/// (`AppState::buildRecommendations`), largest first; a click carries out the row's action
/// through `AppState::perform`. While the junk is being searched a spinner turns beside the
/// title; with nothing to list and no search running, it says so.
///
/// Each time it comes on screen it starts the junk search, unless findings are held or a
/// search runs already. The rows are made when the card is built and again when the junk
/// findings change; loading flags only show or hide the spinner and the empty text.
class Recommendations : public Card {
    Q_OBJECT

public:
    explicit Recommendations(AppState& state, QWidget* parent = nullptr);

    /// Starts the junk search when no findings are held and none runs.
    void loadJunkIfNeeded();

    [[nodiscard]] const std::vector<Recommendation>& recommendations() const {
        return *m_recommendations;
    }
    [[nodiscard]] const std::vector<RowButton*>& rows() const { return m_rows; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuildRows();
    [[nodiscard]] RowButton* makeRow(std::size_t index);
    void showLoading();

    AppState& m_state;
    // Shared with the rows' clicks, so a row still carries out its own card's action after
    // the list was built anew.
    std::shared_ptr<const std::vector<Recommendation>> m_recommendations;
    std::vector<RowButton*> m_rows;
    ActivitySpinner* m_spinner;
    WrappingLabel* m_empty;
    QVBoxLayout* m_list;
};

} // namespace dorvale
