#pragma once

#include "app/SmartPhase.hpp"
#include "widgets/AmbientBackground.hpp"

class QStackedWidget;

namespace dorvale {

class AppState;
class StepIndicator;

/// The guided smart clean: the step indicator at the top and, below it, the stage of the
/// state's smart-clean phase: the start page, the busy page while searching, the review, the
/// busy page while cleaning, and the report. The phase lives in the state, so leaving the
/// section and coming back shows the same stage. A stage is made afresh whenever the phase
/// changes and fades in; the fade only presents a phase already set.
class SmartCleanView : public AmbientBackground {
    Q_OBJECT

public:
    explicit SmartCleanView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] StepIndicator* stepIndicator() const { return m_steps; }
    /// The stage shown now.
    [[nodiscard]] QWidget* stage() const;

private:
    [[nodiscard]] QWidget* makeStage(SmartPhase phase);
    void showPhase();

    AppState& m_state;
    StepIndicator* m_steps;
    QStackedWidget* m_stages;
    SmartPhase m_shown;
};

} // namespace dorvale
