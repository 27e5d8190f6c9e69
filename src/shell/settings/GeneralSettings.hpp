#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace dorvale {

class AppState;
class BackgroundServices;
class SymbolLabel;

/// The "General" pane of the settings: permanent deletion, full disk access, launch at login
/// and the tray icon. Each control writes its setting at once through the object that owns
/// it and shows the setting again whenever it changes, wherever it was changed.
///
/// Launch at login shows what the platform reports, read again after every switch and each
/// time the pane is shown, so a registration that failed leaves the box unchecked. Full disk
/// access shows the state's last probe; the pane does not probe.
class GeneralSettings final : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettings(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] QWidget* makeAccessRow();
    void showPermanentDelete();
    void showAccess();
    void showBackgroundSettings();

    AppState& m_state;
    BackgroundServices& m_background;
    QCheckBox* m_permanentDelete;
    SymbolLabel* m_accessGranted = nullptr;
    QPushButton* m_grantAccess = nullptr;
    QCheckBox* m_launchAtLogin;
    QCheckBox* m_menuBar;
};

} // namespace dorvale
