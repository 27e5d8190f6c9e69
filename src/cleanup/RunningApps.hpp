#pragma once

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

namespace dorvale {

class Workspace;

/// The bundle identifiers of the running applications, as the applications page marks them.
/// Reading them walks the process table, so `refresh` reads them on a worker and publishes
/// them when they arrive; rows then ask `isRunning`, a set look-up. The page refreshes them
/// for each list it is given and each time the program becomes active again. Of refreshes
/// that overlap, the last one asked for wins.
class RunningApps : public QObject {
    Q_OBJECT

public:
    explicit RunningApps(Workspace& workspace, QObject* parent = nullptr);

    void refresh();
    /// Whether an application with this identifier runs (exact comparison); an application
    /// without one never does.
    [[nodiscard]] bool isRunning(const std::optional<std::string>& bundleID) const;

signals:
    void changed();

private:
    Workspace& m_workspace;
    std::unordered_set<std::string> m_running;
    std::uint64_t m_generation = 0;
};

} // namespace dorvale
