#pragma once

#include "platform/desktop/SessionBus.hpp"

#include <QObject>

#include <functional>

namespace dorvale {

/// Whether the desktop has a tray, learned without ever waiting on the GUI thread. The toolkit's
/// own check asks the tray host over the session bus and waits for its answer, about 25 s on a
/// host that never answers; so each look here asks asynchronously whether
/// org.kde.StatusNotifierWatcher is on the bus and, when it is, whether a host is registered
/// with it. A host that answers yes is a tray. Only where the toolkit's check cannot wait (the
/// watcher answered no, or there is no watcher, or no bus at all) is it asked, for the other
/// kinds of tray it knows. While the bus is still connecting, or the watcher has not answered,
/// there is no tray.
///
/// Lives on the GUI thread. An answer that arrives after the object is gone is dropped.
class TrayWatch final : public QObject {
    Q_OBJECT

public:
    /// The toolkit's own check (`QSystemTrayIcon::isSystemTrayAvailable`).
    using ToolkitCheck = std::function<bool()>;

    TrayWatch(const SessionBus& bus, ToolkitCheck toolkitCheck, QObject* parent = nullptr);

    /// The last answer; starts a new look unless one is under way. Never waits.
    [[nodiscard]] bool available();

signals:
    /// A look found the tray come or go; sent from the event loop.
    void availabilityChanged();

private:
    void look();
    void askHost(const QDBusConnection& bus);
    void settle(bool available);

    const SessionBus& m_bus;
    ToolkitCheck m_toolkitCheck;
    bool m_available = false;
    bool m_looking = false;
};

} // namespace dorvale
