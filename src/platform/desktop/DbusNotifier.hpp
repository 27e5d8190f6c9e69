#pragma once

#include "platform/Notifier.hpp"
#include "platform/desktop/SessionBus.hpp"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

namespace dorvale {

/// Notifications through the desktop's notification server (org.freedesktop.Notifications
/// on the session bus). The call is sent without waiting for its answer: a server that is
/// missing or hung must never freeze the window. When there is no session bus or the call
/// fails, the notification is dropped and the failure logged once, until a later
/// notification gets through again. The body is escaped for servers that read markup in it.
/// Asking permission does nothing: these desktops do not ask.
///
/// Lives on the GUI thread and is used only there. An answer that arrives after the object
/// is gone is dropped.
class DbusNotifier final : public QObject, public Notifier {
public:
    /// Notifications on the session bus, once its connection is made.
    explicit DbusNotifier(const SessionBus& bus);
    /// Notifications on another bus, for tests.
    explicit DbusNotifier(QDBusConnection bus);

    void post(const std::string& title, const std::string& body) override;
    void requestPermission() override;

private:
    void reportUndelivered(const QString& reason);

    std::function<QDBusConnection()> m_bus;
    bool m_failureLogged = false;
};

} // namespace dorvale
