#include "inventory/LeftoversFinder.hpp"

#include "support/FakeWorkspace.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"
#include "support/TestValues.hpp"

#include <gtest/gtest.h>

#include <set>
#include <unordered_set>
#include <utility>

namespace dorvale {
namespace {

using test::alwaysGranted;
using test::neverGranted;

TEST(LeftoverIdentifier, KeepsOnlyIdentifiersOfMissingApplications) {
    struct Case {
        const char* name;
        std::optional<std::string> identifier;
    };
    const Case cases[] = {
        {"com.example.gone", "com.example.gone"},
        {"com.example.gone.plist", "com.example.gone"},
        {"com.example.gone.savedState", "com.example.gone"},
        {"com.example.gone.SavedState", "com.example.gone.SavedState"},
        {"com.example.gone.binarycookies", "com.example.gone"},
        {"com.example.gone.savedState.plist", "com.example.gone"},
        {"com.Example.Gone.plist", "com.Example.Gone"},
        {"com.example.caf\xE9", "com.example.caf\xE9"},
        {"com.example", std::nullopt},
        {"com.example.plist", std::nullopt},
        {"com..example.", std::nullopt},
        {"Example App Data", std::nullopt},
        {"com.example.My Tool", std::nullopt},
        {"com.apple.Safari", std::nullopt},
        {"COM.APPLE.Music.plist", std::nullopt},
        {"group.com.example.gone", std::nullopt},
        {"app.dorvale.Dorvale.plist", std::nullopt},
        {"App.Dorvale.helper", std::nullopt},
        // The installed application, its sub-identifiers, in any letter case.
        {"com.example.editor", std::nullopt},
        {"com.example.Editor", std::nullopt},
        {"com.example.editor.helper", std::nullopt},
        {"com.example.Editor.savedState", std::nullopt},
        // A longer identifier that merely starts with an installed one is someone else's.
        {"com.example.editorial", "com.example.editorial"},
    };
    const std::set<std::string> installed = AppInventory::installedIdentifiers(std::vector{
        InstalledApp{.bundleID = "com.example.Editor"},
        InstalledApp{.bundleID = std::nullopt},
        InstalledApp{.bundleID = ""},
    });
    EXPECT_EQ(installed, std::set<std::string>{"com.example.editor"});
    for (const Case& c : cases) {
        EXPECT_EQ(AppInventory::leftoverIdentifier(c.name, installed), c.identifier) << c.name;
    }
    // Without an own prefix nothing more is excluded.
    EXPECT_EQ(AppInventory::leftoverIdentifier("com.example.gone", installed, ""),
              "com.example.gone");
    EXPECT_EQ(AppInventory::leftoverIdentifier("app.dorvale.tool", installed, ""),
              "app.dorvale.tool");
}

class LeftoversFinderTest : public ::testing::Test {
protected:
    // A file of exactly `bytes` allocated bytes in a Library location.
    std::string item(std::string_view location, std::string_view name, std::int64_t bytes) {
        const std::string relative =
            "Users/a/Library/" + std::string(location) + "/" + std::string(name);
        m_fixture.allocatedFile(relative, bytes);
        EXPECT_EQ(test::allocated(m_fixture.path(relative)), bytes) << relative;
        return m_fixture.path(relative);
    }

    std::vector<std::string> identifiers(const std::vector<Leftover>& leftovers) {
        std::vector<std::string> result;
        for (const Leftover& leftover : leftovers) {
            result.push_back(leftover.identifier);
        }
        return result;
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    test::FakeWorkspace m_workspace;
};

TEST_F(LeftoversFinderTest, ReportsLargeDataOfMissingApplicationsLargestFirst) {
    const std::string gone = item("Preferences", "com.example.gone.plist", 200 * 1024);
    m_fixture.setTimes("Users/a/Library/Preferences/com.example.gone.plist", 1'234, 5'678);
    item("Preferences", "com.example.small.plist", 8 * 1024);
    item("Caches", "com.example.threshold", 65'536);
    item("Caches", "com.example.under", 65'536 - 4'096);
    item("Application Support", "com.example.zeta", 100 * 1024);
    item("Logs", "com.example.alpha", 100 * 1024);
    item("Application Support", "com.example.caf\xE9", 88 * 1024);
    item("Containers", "com.example.contained", 80 * 1024);
    item("Saved Application State", "com.example.window.savedState", 72 * 1024);
    // Locations that are never searched.
    for (const char* location :
         {"Group Containers", "Cookies", "LaunchAgents", "Application Scripts"}) {
        item(location, "com.example.elsewhere", 300 * 1024);
    }
    // Installed or registered applications' data, and names that are no identifiers.
    item("Caches", "com.example.editor.helper", 300 * 1024);
    item("Preferences", "com.example.Editor.plist", 300 * 1024);
    item("Application Support", "com.example.Registered", 300 * 1024);
    item("Application Support", "com.apple.Music", 300 * 1024);
    item("Application Support", "Example App Data", 300 * 1024);
    m_workspace.addApplication("com.example.Registered", "/Applications/Registered.app");
    const std::vector<InstalledApp> apps{InstalledApp{.bundleID = "com.example.Editor"}};

    const std::vector<Leftover> found =
        AppInventory::findLeftovers(apps, m_locations, m_workspace, alwaysGranted);
    // Equal sizes keep the order of the locations' table: Application Support before Logs.
    EXPECT_EQ(identifiers(found),
              (std::vector<std::string>{"com.example.gone", "com.example.zeta", "com.example.alpha",
                                        "com.example.caf\xE9", "com.example.contained",
                                        "com.example.window", "com.example.threshold"}));
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(std::unordered_set<Leftover>(found.begin(), found.end()).size(), found.size());
    EXPECT_EQ(found[0], (Leftover{gone, "com.example.gone", "Preferences", 200 * 1024, 1'234}));

    const std::vector<Leftover> withoutAccess =
        AppInventory::findLeftovers(apps, m_locations, m_workspace, neverGranted);
    EXPECT_EQ(identifiers(withoutAccess),
              (std::vector<std::string>{"com.example.gone", "com.example.zeta", "com.example.alpha",
                                        "com.example.caf\xE9", "com.example.window",
                                        "com.example.threshold"}));
}

TEST_F(LeftoversFinderTest, NothingTheInventoryGivesAnInstalledApplicationIsALeftover) {
    for (const auto& [bundle, identifier] : {std::pair{"Editor.app", "com.example.Editor"},
                                             {"Dotted.Name.Tool.app", "com.example.dt"}}) {
        m_fixture.file("Applications/" + std::string(bundle) + "/Contents/Info.plist",
                       "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                       "<key>CFBundleIdentifier</key><string>" +
                           std::string(identifier) + "</string></dict></plist>");
    }
    // Names that pass every identifier test, yet the application's by a team prefix and by
    // the bundle's file name.
    const std::string container = item("Containers", "ABCDE12345.com.example.editor", 100 * 1024);
    const std::string support = item("Application Support", "Dotted.Name.Tool", 100 * 1024);
    item("Caches", "com.example.gone", 100 * 1024);
    const std::vector<InstalledApp> apps =
        AppInventory::collectApps(m_locations, SpotlightMetadata::system(), alwaysGranted);
    std::set<std::string> related;
    for (const InstalledApp& app : apps) {
        for (const RelatedItem& relatedItem : app.related) {
            related.insert(relatedItem.path);
        }
    }
    ASSERT_EQ(related, (std::set<std::string>{container, support}));

    const std::vector<Leftover> found =
        AppInventory::findLeftovers(apps, m_locations, m_workspace, alwaysGranted);

    EXPECT_EQ(identifiers(found), std::vector<std::string>{"com.example.gone"});
}

TEST_F(LeftoversFinderTest, FolderIsMeasuredWholeAndKeepsItsOwnDate) {
    item("Caches", "com.example.gone/a/b/data", 100 * 1024);
    m_fixture.setTimes("Users/a/Library/Caches/com.example.gone", 4'321, 4'321);
    const std::vector<Leftover> found =
        AppInventory::findLeftovers({}, m_locations, m_workspace, alwaysGranted);
    ASSERT_EQ(found.size(), 1U);
    // Three folders of one block each above the file.
    EXPECT_EQ(found[0].size, 100 * 1024 + 3 * 4'096);
    EXPECT_EQ(found[0].location, "Caches");
    EXPECT_EQ(found[0].modified, 4'321);
}

} // namespace
} // namespace dorvale
