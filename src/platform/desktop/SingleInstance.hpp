#pragma once

#include "platform/FileLock.hpp"
#include "platform/Locations.hpp"

#include <QLocalServer>
#include <QObject>

#include <chrono>
#include <functional>
#include <string>

namespace dorvale {

/// One process of the program per user. The first holds an advisory lock on
/// "app.dorvale.Dorvale.lock" and listens on the local socket "app.dorvale.Dorvale.socket"
/// beside it; a later launch finds the lock taken, asks the first over the socket to show its
/// main window, and ends. The system lets go of the lock of a process that died, so its lock
/// file is simply taken over, and a socket file it left is replaced.
///
/// When the lock file cannot be made at all, the process runs as the first: refusing to start
/// would be worse than a second process, whose stores merge their writes anyway.
///
/// Made on the GUI thread after the application object; requests arrive through its event loop.
class SingleInstance final : public QObject {
public:
    /// $XDG_RUNTIME_DIR when it is set and absolute, else the program's folder in the user's
    /// cache ($XDG_CACHE_HOME, by default ~/.cache, + "/Dorvale").
    [[nodiscard]] static std::string defaultFolder(const Locations& locations);

    /// Takes the lock in `folder` (made when missing) and, when it is this process's, listens.
    explicit SingleInstance(const std::string& folder);
    ~SingleInstance() override;

    /// Whether this process is the one that runs.
    [[nodiscard]] bool isPrimary() const { return !m_lock.heldElsewhere(); }
    /// What the first process does when a later launch asks for it.
    void setActivationHandler(std::function<void()> handler) { m_handler = std::move(handler); }

    /// In a later launch: asks the first process to show its window, trying for at most `limit`
    /// (the first may still be starting); whether the request was delivered.
    [[nodiscard]] bool activatePrimary(std::chrono::milliseconds limit) const;

private:
    void listen();
    void answerNext();

    std::string m_socketPath;
    FileLock m_lock;
    QLocalServer m_server;
    std::function<void()> m_handler;
};

} // namespace dorvale
