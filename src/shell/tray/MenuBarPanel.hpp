#pragma once

#include <QFrame>

class QLabel;

namespace dorvale {

class AppState;
class BackgroundServices;
class DiskRing;
class ElidedLabel;
class SymbolLabel;

/// The panel that opens from the tray icon, 290 pixels wide: the start-up volume with its
/// ring, its free space of its total and what the system could purge; when the automatic
/// clean last ran and what it freed; "Quick Clean…"; and "Open Dorvale" and "Quit". A row
/// whose figure is unknown is left out. Follows the background services' published members.
///
/// A pop-up: it closes when the user clicks elsewhere or presses Escape. Opening it reads
/// the volume again and runs the free-space and schedule checks, so a due automatic clean or
/// a low-space warning can start from here.
class MenuBarPanel final : public QFrame {
    Q_OBJECT

public:
    explicit MenuBarPanel(AppState& state, QWidget* parent = nullptr);

    /// Refreshes the figures and shows the panel next to `anchor` (the tray icon, in global
    /// coordinates): below it where it fits, else above, kept on the screen.
    void popUp(const QRect& anchor);

signals:
    /// "Open Dorvale", and "Quick Clean…" once it has started: the main window is wanted.
    void openRequested();
    void quitRequested();

private:
    [[nodiscard]] QWidget* makeVolumeRow();
    [[nodiscard]] QWidget* makeRing();
    [[nodiscard]] QWidget* makeButtons();
    /// What opening the panel does: the volume, then the free-space and schedule checks.
    void appear();
    void refresh();
    void refreshVolume();
    void refreshAutoClean();
    void quickClean();
    void place(const QRect& anchor);

    AppState& m_state;
    BackgroundServices& m_background;
    QWidget* m_volumeRow = nullptr;
    DiskRing* m_ring = nullptr;
    QLabel* m_percent = nullptr;
    ElidedLabel* m_name = nullptr;
    ElidedLabel* m_free = nullptr;
    ElidedLabel* m_purgeable = nullptr;
    SymbolLabel* m_autoClean;
};

} // namespace dorvale
