#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace dorvale {

class AppState;
class MenuBarPanel;

/// The tray icon and its panel, there only while the "menuBar" setting is on and the desktop
/// has a tray. The icon shows the start-up volume's state (a drive, or a warning while free
/// space is below the warning threshold), drawn in the palette's text colour, with the free
/// space as its tool tip ("120 GB free"); a click opens `MenuBarPanel` at the icon.
///
/// Whether to show it is decided again whenever the background services' settings change and
/// at every refresh of the volume (each of their ticks), so a tray that comes or goes, or a
/// change made in the settings, shows within one tick.
class MenuBarExtra final : public QObject {
    Q_OBJECT

public:
    /// Whether the desktop offers a tray now, answered without waiting; `TrayWatch::available`
    /// in the program, whose changes call `sync`.
    using TrayProbe = std::function<bool()>;

    MenuBarExtra(AppState& state, TrayProbe trayAvailable, QObject* parent = nullptr);
    ~MenuBarExtra() override;

    [[nodiscard]] bool isShown() const { return m_shown; }
    /// The icon once it was first shown, else nothing.
    [[nodiscard]] QSystemTrayIcon* icon() const { return m_icon; }
    /// The panel once the icon was first shown, else nothing.
    [[nodiscard]] MenuBarPanel* panel() const { return m_panel.get(); }

    /// Shows the icon while "menuBar" is on and a tray exists, removes it otherwise. The tray
    /// is not asked about while "menuBar" is off.
    void sync();
    /// Opens the panel at the icon, or closes it when it is open.
    void togglePanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    /// The icon appeared or went away.
    void shownChanged(bool shown);
    /// The panel asks for the main window.
    void openRequested();
    void quitRequested();

private:
    void show();
    void remove();
    void refreshLabel();

    AppState& m_state;
    TrayProbe m_trayAvailable;
    bool m_shown = false;
    QSystemTrayIcon* m_icon = nullptr;
    std::unique_ptr<MenuBarPanel> m_panel;
};

} // namespace dorvale
