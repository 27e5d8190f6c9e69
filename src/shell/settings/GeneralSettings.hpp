#pragma once

#include <QWidget>

class QCheckBox;

namespace dorvale {

class AppState;
class BackgroundServices;

/// The "General" pane of the settings: permanent deletion, launch at login and the tray icon. Each
/// control writes its setting at once through the object that owns it and shows the setting again
/// whenever it changes, wherever it was changed.
///
/// Launch at login shows what the platform reports, read again after every switch and each
/// time the pane is shown, so a registration that failed leaves the box unchecked. This
/// desktop has no privacy gate for programs, so the pane has no row for one.
class GeneralSettings final : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettings(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPermanentDelete();
    void showBackgroundSettings();

    AppState& m_state;
    BackgroundServices& m_background;
    QCheckBox* m_permanentDelete;
    QCheckBox* m_launchAtLogin;
    QCheckBox* m_menuBar;
};

} // namespace dorvale
