#pragma once

#include "app/AppServices.hpp"
#include "shell/tray/MenuBarExtra.hpp"

#include <QIcon>
#include <QObject>
#include <QPointer>

#include <memory>

namespace dorvale {

class AppState;
class MainWindow;
class SettingsWindow;
class SingleInstance;

/// The application: the one `AppState` of the process, the main window, the tray icon with
/// its panel, the settings window, and the rule for when the process ends. Made once by `main`
/// after the application object; it opens the main window at once.
///
/// The process keeps running after its last window closes only while the tray icon is shown,
/// so it can always be reached: with "menuBar" off or no tray, closing the main window
/// quits, and a tray that goes away while no window is open ends the process. The main
/// window is deleted when closed and made anew by "Open Dorvale".
///
/// A later launch of the program does not make a second one: `main` hands it over to this one,
/// which opens its main window as "Open Dorvale" does.
class DorvaleApp final : public QObject {
    Q_OBJECT

public:
    /// `trayAvailable` answers without waiting (`TrayWatch::available` in the program).
    DorvaleApp(AppServices services, MenuBarExtra::TrayProbe trayAvailable,
               QObject* parent = nullptr);
    ~DorvaleApp() override;
    DorvaleApp(const DorvaleApp&) = delete;
    DorvaleApp& operator=(const DorvaleApp&) = delete;

    /// The program's icon: the installed one from the icon theme, else the bundled drawing.
    [[nodiscard]] static QIcon icon();

    [[nodiscard]] AppState& state() { return *m_state; }
    /// The main window while it is open, else nothing.
    [[nodiscard]] MainWindow* mainWindow() const;
    [[nodiscard]] MenuBarExtra& menuBarExtra() { return *m_menuBarExtra; }
    /// The settings window once it was first asked for, else nothing.
    [[nodiscard]] SettingsWindow* settingsWindow() const { return m_settingsWindow.get(); }

    /// Shows the main window, made anew when it was closed, and brings it to the front.
    void openMainWindow();
    /// Opens the main window whenever a later launch of the program asks `instance` for it.
    void answerLaterLaunches(SingleInstance& instance);
    /// "Settings…": shows the settings window, made the first time, and brings it to the
    /// front.
    void showSettings();
    /// Ends the event loop; the state then lets a running deletion finish recording.
    void quit();
    /// Closes the windows and the tray icon; `main` calls it once the event loop has ended,
    /// before the worker pool drains.
    void closeWindows();

private:
    void followTray(bool shown);

    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MenuBarExtra> m_menuBarExtra;
    std::unique_ptr<SettingsWindow> m_settingsWindow;
    QPointer<MainWindow> m_mainWindow;
};

} // namespace dorvale
