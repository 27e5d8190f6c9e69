#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace dorvale {

class AppState;
class BackgroundServices;
class SettingsSection;

/// The "Automation" pane of the settings: the schedule of the automatic clean of safe junk,
/// when it last ran, "Run Now", and the threshold of the low-space warning. The pickers write
/// through the background services whenever the user chooses an option, even the current
/// one, and ask for permission to notify when they turn something on.
///
/// "Run Now" starts the same automatic clean the schedule runs, and reads "Cleaning…",
/// disabled, while any automatic clean is under way, whoever started it.
class AutomationSettings final : public QWidget {
    Q_OBJECT

public:
    explicit AutomationSettings(AppState& state, QWidget* parent = nullptr);

private:
    [[nodiscard]] SettingsSection* makeCleanSection();
    [[nodiscard]] SettingsSection* makeWarningSection();
    void showSettings();
    void showLastRun();
    void showRunning();
    void chooseSchedule(int index);
    void chooseThreshold(int index);

    AppState& m_state;
    BackgroundServices& m_background;
    QComboBox* m_schedule = nullptr;
    SettingsSection* m_cleanSection = nullptr;
    QLabel* m_lastRun = nullptr;
    QPushButton* m_runNow = nullptr;
    QComboBox* m_threshold = nullptr;
};

} // namespace dorvale
