#include "support/FakeWorkspace.hpp"

namespace dorvale::test {

void FakeWorkspace::setRunning(std::vector<std::string> bundleIdentifiers) {
    const std::lock_guard lock(m_mutex);
    m_running = std::move(bundleIdentifiers);
}

void FakeWorkspace::addApplication(const std::string& bundleIdentifier, const std::string& path) {
    const std::lock_guard lock(m_mutex);
    m_applications.insert_or_assign(bundleIdentifier, path);
}

void FakeWorkspace::holdRunning(std::function<void()> hold) {
    const std::lock_guard lock(m_mutex);
    m_hold = std::move(hold);
}

std::vector<std::string> FakeWorkspace::runningBundleIdentifiers() const {
    std::function<void()> hold;
    {
        const std::lock_guard lock(m_mutex);
        hold = m_hold;
    }
    if (hold) {
        hold();
    }
    const std::lock_guard lock(m_mutex);
    return m_running;
}

std::optional<std::string> FakeWorkspace::applicationPath(std::string_view bundleIdentifier) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_applications.find(bundleIdentifier);
    return found == m_applications.end() ? std::nullopt : std::optional(found->second);
}

void FakeWorkspace::open(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    m_opened.push_back(path);
}

void FakeWorkspace::reveal(const std::vector<std::string>& paths) {
    const std::lock_guard lock(m_mutex);
    m_revealed.push_back(paths);
}

std::vector<std::string> FakeWorkspace::opened() const {
    const std::lock_guard lock(m_mutex);
    return m_opened;
}

std::vector<std::vector<std::string>> FakeWorkspace::revealed() const {
    const std::lock_guard lock(m_mutex);
    return m_revealed;
}

} // namespace dorvale::test
