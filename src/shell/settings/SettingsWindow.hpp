#pragma once

#include <QWidget>

class QTabWidget;

namespace dorvale {

class AppState;

/// The settings window: the "General", "Automation" and "Exclusions" panes as tabs. Every
/// control writes its setting at once through the object that owns it (there is no Apply),
/// and shows the setting again whenever it changes, here or anywhere else.
///
/// A window of its own; the application makes one on demand and shows it with `present`.
/// Escape and the desktop's close shortcut (Ctrl+W) close it.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(AppState& state, QWidget* parent = nullptr);

    /// Shows the window, or brings it to the front when it is shown already.
    void present();
    [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addPane(QWidget* pane, const QString& symbol, const QString& title);

    QTabWidget* m_tabs;
};

} // namespace dorvale
