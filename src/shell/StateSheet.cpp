#include "shell/StateSheet.hpp"

#include <QDialog>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace dorvale {

StateSheet::StateSheet(QWidget& host, Binding binding)
    : QObject(&host)
    , m_host(host)
    , m_binding(std::move(binding)) {
    m_host.installEventFilter(this);
}

// The dialog is a child of the window, which may outlive this sheet; it goes with it.
StateSheet::~StateSheet() {
    dismiss();
}

void StateSheet::sync() {
    const std::optional<QString> wanted = m_binding.wanted();
    if (m_dialog != nullptr && wanted == m_key) {
        if (m_host.isVisible() && !m_dialog->isVisible()) {
            m_dialog->open();
        }
        return;
    }
    dismiss();
    if (!wanted || !m_host.isVisible()) {
        return;
    }
    m_key = wanted;
    m_dialog = m_binding.make(m_host.window());
    m_dialog->setWindowModality(Qt::WindowModal);
    QDialog* dialog = m_dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog] { finished(dialog); });
    dialog->open();
}

// A window hidden by the program takes its dialog along; one the window system minimises
// keeps it, as the window system minimises the dialog with it.
bool StateSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_host && event->type() == QEvent::Hide && !event->spontaneous() &&
        m_dialog != nullptr) {
        m_dialog->hide();
    }
    return QObject::eventFilter(watched, event);
}

// Closes the open dialog without touching the member: the member changed, or the window is
// going.
void StateSheet::dismiss() {
    QDialog* dialog = m_dialog;
    m_dialog = nullptr;
    m_key.reset();
    if (dialog == nullptr) {
        return;
    }
    disconnect(dialog, nullptr, this, nullptr);
    dialog->hide();
    dialog->deleteLater();
}

// The user closed the dialog (or its own action did): the member follows.
void StateSheet::finished(QDialog* dialog) {
    if (dialog != m_dialog) {
        return;
    }
    m_dialog = nullptr;
    m_key.reset();
    dialog->deleteLater();
    m_binding.clear();
}

} // namespace dorvale
