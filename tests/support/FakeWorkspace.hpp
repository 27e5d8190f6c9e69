#pragma once

#include "platform/Workspace.hpp"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace dorvale::test {

/// A workspace set up by the test: running applications and installed ones are what the
/// test says, and open and reveal are only recorded. Safe from any thread.
class FakeWorkspace final : public Workspace {
public:
    void setRunning(std::vector<std::string> bundleIdentifiers);
    /// Makes `applicationPath(bundleIdentifier)` answer `path` (identifiers match exactly).
    void addApplication(const std::string& bundleIdentifier, const std::string& path);
    /// Makes every question for the running applications call `hold` first (a test's gate,
    /// to keep the asking worker until the test lets it go).
    void holdRunning(std::function<void()> hold);

    [[nodiscard]] std::vector<std::string> runningBundleIdentifiers() const override;
    [[nodiscard]] std::optional<std::string>
    applicationPath(std::string_view bundleIdentifier) const override;
    void open(const std::string& path) override;
    void reveal(const std::vector<std::string>& paths) override;

    /// The paths opened so far, in order.
    [[nodiscard]] std::vector<std::string> opened() const;
    /// Each reveal so far, in order.
    [[nodiscard]] std::vector<std::vector<std::string>> revealed() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_running;
    std::function<void()> m_hold;
    std::map<std::string, std::string, std::less<>> m_applications;
    std::vector<std::string> m_opened;
    std::vector<std::vector<std::string>> m_revealed;
};

} // namespace dorvale::test
