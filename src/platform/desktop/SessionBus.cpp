#include "platform/desktop/SessionBus.hpp"

#include <QLoggingCategory>

#include <mutex>
#include <optional>
#include <thread>

namespace dorvale {

namespace {

Q_LOGGING_CATEGORY(busLog, "dorvale.bus")

} // namespace

struct SessionBus::State {
    std::mutex mutex;
    std::optional<QDBusConnection> connection;
    bool waitLogged = false;
};

SessionBus::SessionBus()
    : SessionBus([] { return QDBusConnection::sessionBus(); }) {}

SessionBus::SessionBus(Connector connect)
    : m_state(std::make_shared<State>()) {
    // The thread holds the state, not the object: a bus that never answers keeps it waiting
    // after the object has gone.
    std::thread([state = m_state, connect = std::move(connect)] {
        QDBusConnection made = connect();
        const std::lock_guard lock(state->mutex);
        state->connection = std::move(made);
    }).detach();
}

SessionBus::~SessionBus() = default;

QDBusConnection SessionBus::connection() const {
    const std::lock_guard lock(m_state->mutex);
    if (m_state->connection) {
        return *m_state->connection;
    }
    if (!m_state->waitLogged) {
        m_state->waitLogged = true;
        qCWarning(busLog) << "The session bus has not answered yet; going on without it.";
    }
    return QDBusConnection(QString());
}

bool SessionBus::isConnecting() const {
    const std::lock_guard lock(m_state->mutex);
    return !m_state->connection.has_value();
}

} // namespace dorvale
