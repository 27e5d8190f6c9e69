#pragma once

#include "app/AppState.hpp"
#include "support/app/ChosenJunk.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"

#include <QtTest>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dorvale::test {

/// The widget named `name` below `root`; the test stops when there is none.
template <typename Widget>
Widget* find(const QWidget* root, const char* name) {
    auto* found = root->findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("No widget named %s", name);
    }
    return found;
}

/// The applications, leftovers and developer pages over a real state whose inventories and
/// junk scan find what the test chose; a load may be held on its worker until the test lets
/// it go. Members go in reverse order: held loads are let go before the shell fixture waits
/// for the workers.
class CleanupPagesFixture {
public:
    CleanupPagesFixture()
        : m_chosen(std::make_shared<Chosen>()) {
        shell.services.scanJunk = junk.seam();
        shell.services.collectApps = [chosen = m_chosen](const Locations&,
                                                         const AppInventory::AccessProbe&) {
            chosen->wait();
            const std::lock_guard lock(chosen->mutex);
            ++chosen->appLoads;
            return chosen->apps;
        };
        shell.services.findLeftovers = [chosen = m_chosen](std::span<const InstalledApp>,
                                                           const Locations&, const Workspace&,
                                                           const AppInventory::AccessProbe&) {
            chosen->wait();
            const std::lock_guard lock(chosen->mutex);
            ++chosen->leftoverSearches;
            return chosen->leftovers;
        };
    }
    ~CleanupPagesFixture() { release(); }
    CleanupPagesFixture(const CleanupPagesFixture&) = delete;
    CleanupPagesFixture& operator=(const CleanupPagesFixture&) = delete;

    [[nodiscard]] const Locations& locations() const { return shell.fixture.locations; }
    [[nodiscard]] std::string home(const std::string& relative) const {
        return locations().home + "/" + relative;
    }
    AppState& state() { return *shell.state; }
    FakeWorkspace& workspace() { return shell.fixture.workspace; }

    /// What every later load of the applications finds.
    void answerApps(std::vector<InstalledApp> apps) {
        const std::lock_guard lock(m_chosen->mutex);
        m_chosen->apps = std::move(apps);
    }
    /// What every later leftovers search finds.
    void answerLeftovers(std::vector<Leftover> leftovers) {
        const std::lock_guard lock(m_chosen->mutex);
        m_chosen->leftovers = std::move(leftovers);
    }
    /// Holds every later load and search until `release`.
    void hold() {
        const std::lock_guard lock(m_chosen->mutex);
        m_chosen->gate = std::make_unique<Gate>();
        m_chosen->pass = m_chosen->gate->pass();
    }
    void release() {
        const std::lock_guard lock(m_chosen->mutex);
        m_chosen->gate.reset();
        m_chosen->pass = {};
    }
    [[nodiscard]] int appLoads() const {
        const std::lock_guard lock(m_chosen->mutex);
        return m_chosen->appLoads;
    }
    [[nodiscard]] int leftoverSearches() const {
        const std::lock_guard lock(m_chosen->mutex);
        return m_chosen->leftoverSearches;
    }

    /// Makes the state and shows a new `Page` of it in a window of `size`.
    template <typename Page>
    Page* show(QSize size = {1000, 640}) {
        AppState& made = shell.makeState();
        return shell.show(new Page(made), size);
    }

    ShellFixture shell;
    ChosenJunk junk;

private:
    struct Chosen {
        std::mutex mutex;
        std::vector<InstalledApp> apps;
        std::vector<Leftover> leftovers;
        std::unique_ptr<Gate> gate;
        std::function<void()> pass;
        int appLoads = 0;
        int leftoverSearches = 0;

        void wait() {
            std::function<void()> held;
            {
                const std::lock_guard lock(mutex);
                held = pass;
            }
            if (held) {
                held();
            }
        }
    };

    std::shared_ptr<Chosen> m_chosen;
};

} // namespace dorvale::test
