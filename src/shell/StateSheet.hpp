#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QEvent;
class QWidget;

namespace dorvale {

/// A window-modal dialog that mirrors a member of the application state, as a sheet over the
/// window: open while the member asks for one, closed when the member stops asking, and the
/// member cleared when the user closes the dialog, however. A member that asks for another
/// dialog (a new deletion plan) replaces the open one. Dialogs open with `open()`, never
/// with a nested event loop.
///
/// Nothing opens while the window is hidden: hiding the window (closing it to the tray) hides
/// its dialog too, and `sync` on the window's show brings it back, or catches up with a member
/// set meanwhile or before the window existed.
class StateSheet : public QObject {
    Q_OBJECT

public:
    struct Binding {
        /// What the member asks for now: a key that names one dialog (equal keys keep the open
        /// dialog), or nothing for none.
        std::function<std::optional<QString>()> wanted;
        /// Makes the dialog for the member's current value, parented to `window`.
        std::function<QDialog*(QWidget* window)> make;
        /// Clears the member once the user has closed its dialog.
        std::function<void()> clear;
    };

    /// `host` is a widget of the window the sheet belongs to.
    StateSheet(QWidget& host, Binding binding);
    ~StateSheet() override;

    /// Brings the dialog in line with the member; called on each change of the member and
    /// when the window is shown.
    void sync();
    /// The open dialog, if any.
    [[nodiscard]] QDialog* dialog() const { return m_dialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dismiss();
    void finished(QDialog* dialog);

    QWidget& m_host;
    Binding m_binding;
    QPointer<QDialog> m_dialog;
    std::optional<QString> m_key;
};

} // namespace dorvale
