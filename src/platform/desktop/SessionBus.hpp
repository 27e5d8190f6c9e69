#pragma once

#include <QDBusConnection>

#include <functional>
#include <memory>

namespace dorvale {

/// The program's own connection to the session bus, made on a thread of its own: making it
/// waits for the bus, and a bus that accepts and never answers would otherwise hold the window
/// for ever. Until the connection is made, and when there is none, `connection()` gives one
/// that is not connected, so the services that use it behave as on a machine without a bus;
/// the first time that happens while the connection is still being made, one line is logged.
///
/// Made on the GUI thread and asked there; the thread that connects may outlive the object.
class SessionBus {
public:
    /// Makes a connection; it may wait for as long as the bus does.
    using Connector = std::function<QDBusConnection()>;

    /// The session bus.
    SessionBus();
    /// The connection that `connect` makes on a thread of its own.
    explicit SessionBus(Connector connect);
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    /// The connection once it is made, else one that is not connected. Never waits.
    [[nodiscard]] QDBusConnection connection() const;
    /// Whether the connection is still being made: the bus has not answered yet, and anyone
    /// else who asks it something now would wait as well.
    [[nodiscard]] bool isConnecting() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace dorvale
