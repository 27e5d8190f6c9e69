#include "platform/desktop/SingleInstance.hpp"

#include "PrivateBus.hpp"
#include "platform/Descriptor.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace dorvale {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

// Binds a socket at `path` and closes it without removing the file, as a process that died
// leaves it: connections to it are refused.
void leaveSocketFile(const std::string& path) {
    const Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    ASSERT_EQ(bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }

    test::FixtureTree m_fixture;
    std::string m_folder = m_fixture.path("run");
};

TEST_F(SingleInstanceTest, ALaterLaunchAsksTheFirstForItsWindow) {
    auto first = std::make_unique<SingleInstance>(m_folder);
    int shown = 0;
    first->setActivationHandler([&] { ++shown; });
    const SingleInstance second(m_folder);
    ASSERT_TRUE(first->isPrimary());
    ASSERT_FALSE(second.isPrimary());

    EXPECT_TRUE(second.activatePrimary(5s));
    EXPECT_TRUE(second.activatePrimary(5s));
    EXPECT_TRUE(waitUntil([&] { return shown == 2; }));

    // Once the first has gone, the next launch is the one that runs.
    first.reset();
    EXPECT_TRUE(SingleInstance(m_folder).isPrimary());
}

// A process that died leaves its lock file and its socket file; neither stops the next start,
// and a later launch reaches the new one.
TEST_F(SingleInstanceTest, ALockAndSocketLeftByADeadProcessAreTakenOver) {
    m_fixture.file("run/app.dorvale.Dorvale.lock", "4242\n");
    leaveSocketFile(m_folder + "/app.dorvale.Dorvale.socket");
    ASSERT_TRUE(test::exists(m_folder + "/app.dorvale.Dorvale.socket"));

    SingleInstance first(m_folder);
    bool shown = false;
    first.setActivationHandler([&] { shown = true; });
    ASSERT_TRUE(first.isPrimary());
    EXPECT_TRUE(SingleInstance(m_folder).activatePrimary(5s));
    EXPECT_TRUE(waitUntil([&] { return shown; }));
}

TEST_F(SingleInstanceTest, ALaunchThatFindsNoOneAnsweringGivesUp) {
    const FileLock held =
        FileLock::tryOnFile(m_fixture.folder("run") + "/app.dorvale.Dorvale.lock");
    ASSERT_TRUE(held.held());
    const SingleInstance later(m_folder);
    ASSERT_FALSE(later.isPrimary());
    EXPECT_FALSE(later.activatePrimary(200ms));
}

TEST(SingleInstanceFolder, IsTheRuntimeFolderElseTheCacheFolder) {
    const Locations locations = Locations::inside("/fixture");
    struct Case {
        const char* runtime;
        const char* cache;
        std::string folder;
    };
    const Case cases[] = {
        {"/run/user/1000", "/c", "/run/user/1000"},
        {nullptr, "/c", "/c/Dorvale"},
        {"relative", nullptr, "/fixture/Users/a/.cache/Dorvale"},
        {"", "relative", "/fixture/Users/a/.cache/Dorvale"},
    };
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto put = [](const char* name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    };
    const std::optional<std::string> runtime = saved("XDG_RUNTIME_DIR");
    const std::optional<std::string> cache = saved("XDG_CACHE_HOME");
    for (const Case& c : cases) {
        put("XDG_RUNTIME_DIR", c.runtime ? std::optional<std::string>(c.runtime) : std::nullopt);
        put("XDG_CACHE_HOME", c.cache ? std::optional<std::string>(c.cache) : std::nullopt);
        EXPECT_EQ(SingleInstance::defaultFolder(locations), c.folder);
    }
    put("XDG_RUNTIME_DIR", runtime);
    put("XDG_CACHE_HOME", cache);
}

} // namespace
} // namespace dorvale
