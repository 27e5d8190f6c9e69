#pragma once

#include "inventory/InstalledApp.hpp"

#include <QWidget>

class QLabel;

namespace dorvale {

class AppState;
class DestructiveButton;

/// The pane beside the applications list for one application: who it is, how its space
/// divides between the bundle and its data elsewhere, the button that uninstalls it with
/// its data (or why it cannot), and each piece of its data with its place, its size and a
/// button that shows it in the file manager.
///
/// An Apple application is never uninstalled from here; a running one is not while it
/// runs, which the page tells through `setRunning`.
class AppInspector : public QWidget {
    Q_OBJECT

public:
    AppInspector(AppState& state, InstalledApp app, bool running, QWidget* parent = nullptr);

    [[nodiscard]] const InstalledApp& app() const { return m_app; }
    void setRunning(bool running);

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeSpace();
    [[nodiscard]] QWidget* makeUninstall();
    [[nodiscard]] QWidget* makeRelatedRow(const RelatedItem& item);

    AppState& m_state;
    InstalledApp m_app;
    DestructiveButton* m_uninstall = nullptr;
    QLabel* m_quitHint = nullptr;
};

} // namespace dorvale
