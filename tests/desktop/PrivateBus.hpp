#pragma once

#include "support/FixtureTree.hpp"

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace dorvale::test {

/// A D-Bus session bus of the test's own, run by a dbus-daemon that the bus stops when it
/// goes away. It has no activatable services, so nothing installed on the machine starts.
class PrivateBus {
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    /// Starts the daemon; false when it could not be started.
    [[nodiscard]] bool start();
    /// A new connection to the bus under `name`, closed when the bus goes away.
    [[nodiscard]] QDBusConnection connect(const QString& name);

private:
    FixtureTree m_fixture;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

/// The warnings the program's own categories ("dorvale.…") logged since the list was last
/// cleared, while `collectWarnings` is the message handler.
std::vector<QString>& loggedWarnings();
void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message);

/// The process's one QCoreApplication, made on first use.
void ensureApplication();
/// Processes events until `done` holds or 10 seconds passed; returns `done()`.
bool waitUntil(const std::function<bool()>& done);
/// Processes events for `milliseconds`, so that anything sent late shows up.
void spin(int milliseconds);

} // namespace dorvale::test
