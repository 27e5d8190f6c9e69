#include "cleanup/RunningApps.hpp"

#include "app/RunInBackground.hpp"
#include "platform/Workspace.hpp"

#include <vector>

namespace dorvale {

RunningApps::RunningApps(Workspace& workspace, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace) {}

void RunningApps::refresh() {
    const std::uint64_t generation = ++m_generation;
    runInBackground(
        this, [workspace = &m_workspace] { return workspace->runningBundleIdentifiers(); },
        [this, generation](std::vector<std::string> running) {
            if (generation != m_generation) {
                return;
            }
            m_running = std::unordered_set<std::string>(running.begin(), running.end());
            emit changed();
        });
}

bool RunningApps::isRunning(const std::optional<std::string>& bundleID) const {
    return bundleID && m_running.contains(*bundleID);
}

} // namespace dorvale
