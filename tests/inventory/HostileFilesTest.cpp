#include "support/HostileFiles.hpp"

#include "inventory/AppInventory.hpp"
#include "inventory/LaunchItem.hpp"
#include "platform/Workspace.hpp"
#include "support/FixtureTree.hpp"
#include "support/TestValues.hpp"

#include <gtest/gtest.h>

#include <algorithm>

// Every reader of bundles and launch items meets a property list built to hurt it where an
// Info.plist or a launch item belongs, and must pass over it, neither waiting nor crashing.
namespace dorvale {
namespace {

using test::FixtureTree;

constexpr std::string_view hostileInfo = "Applications/Hostile.app/Contents/Info.plist";
constexpr std::string_view hostileAgent = "Users/a/Library/LaunchAgents/hostile.plist";

struct Hostile {
    const char* name;
    void (*place)(FixtureTree&, std::string_view relative);

    friend std::ostream& operator<<(std::ostream& out, const Hostile& hostile) {
        return out << hostile.name;
    }
};

std::string dictionary(std::string_view key, std::string_view value) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>" + std::string(key) +
           "</key><string>" + std::string(value) + "</string></dict></plist>";
}

class HostileFilesTest : public ::testing::TestWithParam<Hostile> {
protected:
    HostileFilesTest() {
        m_fixture.file("Applications/Good.app/Contents/Info.plist",
                       dictionary("CFBundleIdentifier", "com.example.good"));
        m_fixture.file("Users/a/Library/LaunchAgents/good.plist",
                       dictionary("Label", "com.example.agent"));
        GetParam().place(m_fixture, hostileInfo);
        GetParam().place(m_fixture, hostileAgent);
    }

    // Runs `work`, freeing it should it wait on a FIFO.
    bool finishes(const std::function<void()>& work) const {
        return test::finishesWithoutAWriter(
            {m_fixture.path(hostileInfo), m_fixture.path(hostileAgent)}, work);
    }

    FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    SystemWorkspace m_workspace{m_locations};
};

TEST_P(HostileFilesTest, InstalledApplicationsAreAllListed) {
    std::vector<InstalledApp> apps;
    ASSERT_TRUE(finishes([&] {
        apps = AppInventory::collectApps(m_locations, SpotlightMetadata::system(),
                                         test::alwaysGranted);
    }));
    std::sort(apps.begin(), apps.end(),
              [](const InstalledApp& a, const InstalledApp& b) { return a.path < b.path; });
    ASSERT_EQ(apps.size(), 2U);
    EXPECT_EQ(apps[0].bundleID, "com.example.good");
    EXPECT_EQ(apps[1].path, m_fixture.path("Applications/Hostile.app"));
    EXPECT_EQ(apps[1].name, "Hostile");
    EXPECT_EQ(apps[1].bundleID, std::nullopt);
}

TEST_P(HostileFilesTest, ApplicationLookUpPassesOverTheBundle) {
    std::optional<std::string> good;
    std::optional<std::string> missing;
    ASSERT_TRUE(finishes([&] {
        good = m_workspace.applicationPath("com.example.good");
        missing = m_workspace.applicationPath("com.example.missing");
    }));
    EXPECT_EQ(good, m_fixture.path("Applications/Good.app"));
    EXPECT_EQ(missing, std::nullopt);
}

// The agent's owner is looked up by its label through every bundle, the hostile one too.
TEST_P(HostileFilesTest, LaunchItemsAreLoadedWithoutTheHostileOne) {
    std::vector<LaunchItem> items;
    ASSERT_TRUE(finishes([&] { items = LaunchItem::loadAll(m_locations, m_workspace); }));
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].label, "com.example.agent");
    EXPECT_EQ(items[0].ownerPath, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, HostileFilesTest,
    testing::Values(Hostile{"Fifo",
                            [](FixtureTree& fixture, std::string_view relative) {
                                fixture.fifo(relative);
                            }},
                    Hostile{"DoublingReferences",
                            [](FixtureTree& fixture, std::string_view relative) {
                                fixture.file(relative, test::doublingBinaryList(40));
                            }},
                    Hostile{"DeepNesting",
                            [](FixtureTree& fixture, std::string_view relative) {
                                fixture.file(relative, test::nestedXmlList(1'000'000));
                            }}),
    [](const testing::TestParamInfo<Hostile>& info) { return info.param.name; });

} // namespace
} // namespace dorvale
