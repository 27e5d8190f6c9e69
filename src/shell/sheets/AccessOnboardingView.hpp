#pragma once

#include <QDialog>

namespace dorvale {

class AppState;

/// The sheet that leads the user to grant full disk access before a scan of the whole disk
/// or the home folder: why it matters, the three steps, and two ways on. "Open Settings" (the
/// Return key) opens the system's privacy settings and leaves the sheet open; "Scan Without
/// Access" remembers the choice for good, closes the sheet and scans the current target.
///
/// The window shows it while `AppState::showAccessOnboarding` is true and clears that flag
/// when the sheet closes, however it closes.
class AccessOnboardingView : public QDialog {
    Q_OBJECT

public:
    explicit AccessOnboardingView(AppState& state, QWidget* parent = nullptr);

private:
    [[nodiscard]] QWidget* makeSteps() const;
    [[nodiscard]] QLayout* makeButtons();
    void scanWithoutAccess();

    AppState& m_state;
};

} // namespace dorvale
