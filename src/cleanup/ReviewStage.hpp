#pragma once

#include <QWidget>

class QPushButton;

namespace dorvale {

class AdaptiveGrid;
class AppState;
class ElidedLabel;
class FittedScrollArea;
class GradientLabel;
class PrimaryButton;

/// The smart clean's review page: the bytes the chosen rules would free, a card for each junk
/// group that found something (in the groups' fixed order), and "Start Over", "See Details"
/// and "Clean <size>". The clean button (also Return) starts cleaning at once: this page is
/// the confirmation. It holds no state of its own; it follows the junk and the selection.
class ReviewStage : public QWidget {
    Q_OBJECT

public:
    explicit ReviewStage(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] PrimaryButton* cleanButton() const { return m_clean; }

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeBody();
    [[nodiscard]] QWidget* makeButtons();
    void showJunk();
    void showSelection();

    AppState& m_state;
    GradientLabel* m_selected = nullptr;
    ElidedLabel* m_nothingFound = nullptr;
    FittedScrollArea* m_scroll = nullptr;
    AdaptiveGrid* m_cards = nullptr;
    PrimaryButton* m_clean = nullptr;
};

} // namespace dorvale
