#pragma once

#include <QMainWindow>

class QMessageBox;
class QScreen;

namespace dorvale {

class AppState;
class RootView;

/// The main window: `RootView` under the application's menus. The "Dorvale" menu holds
/// "About Dorvale", "Check for Updates…", "Settings…" (Ctrl+,) and "Quit Dorvale" (Ctrl+Q);
/// the "Scan" menu holds "Scan Entire Disk" (Ctrl+R), "Scan Home Folder" (Ctrl+Shift+R),
/// "Scan Folder…" (Ctrl+O, the toolbar's folder picker) and "Quick Clean" (Ctrl+1), which
/// only shows the smart clean's section. Every menu and command has an underlined letter,
/// and F10 opens the first menu.
///
/// Its content is at least 1040 × 680 where the screen's free area holds that with the
/// window's frame and menus; on a smaller or scaled screen the minimum shrinks to fit it.
///
/// It is deleted when closed; the application makes a new one to open it again. The first
/// time a window is shown it starts the background services, which keep their one timer
/// across windows.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] RootView* rootView() const { return m_root; }

    /// "Check for Updates…": shows the updater's answer in a message over the window.
    void checkForUpdates();
    /// "About Dorvale": `AboutDialog` over the window.
    void showAbout();

signals:
    /// "Settings…" was chosen.
    void settingsRequested();
    /// "Quit Dorvale" was chosen.
    void quitRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void followScreen(QScreen* screen);
    void fitMinimumToScreen();
    void makeApplicationMenu();
    void makeScanMenu();
    /// A message over the window that goes away when closed.
    [[nodiscard]] QMessageBox* message(const QString& name);

    AppState& m_state;
    RootView* m_root;
    bool m_started = false;
    QMetaObject::Connection m_screenWatch;
};

} // namespace dorvale
