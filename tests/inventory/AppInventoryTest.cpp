#include "inventory/AppInventory.hpp"

#include "model/Scanner.hpp"
#include "support/FakeSpotlightMetadata.hpp"
#include "support/FakeWorkspace.hpp"
#include "support/FixtureTree.hpp"
#include "support/TestValues.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_set>

namespace dorvale {
namespace {

using AppInventory::LibraryEntry;

std::string xmlInfo(std::string_view entries) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + std::string(entries) +
           "</dict></plist>";
}

// A binary property list holding these string keys and values.
std::string binaryInfo(std::initializer_list<std::pair<const char*, const char*>> entries) {
    const std::unique_ptr<void, decltype(&plist_free)> dictionary(plist_new_dict(), plist_free);
    for (const auto& [key, value] : entries) {
        plist_dict_set_item(static_cast<plist_t>(dictionary.get()), key, plist_new_string(value));
    }
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(static_cast<plist_t>(dictionary.get()), &bytes, &length);
    std::string result(bytes, length);
    std::free(bytes);
    return result;
}

using test::alwaysGranted;
using test::neverGranted;

TEST(NameMatchesApp, MatchesIdentifierFormsAndLongEnoughFileNames) {
    struct Case {
        const char* entry;
        const char* identifier;
        const char* fileName;
        bool matches;
    };
    const Case cases[] = {
        {"com.example.editor", "com.example.Editor", "Editor", true},
        {"com.example.editor.plist", "com.example.Editor", "Editor", true},
        {"com.example.Editor.savedState", "com.example.Editor", "Editor", true},
        {"COM.EXAMPLE.EDITOR.binarycookies", "com.example.Editor", "Editor", true},
        {"com.example.editor.helper", "com.example.Editor", "Editor", true},
        {"com.example.Editor.ShipIt", "com.example.Editor", "Editor", true},
        {"com.example.editor.extra.plist", "com.example.Editor", "Editor", true},
        {"ABCDE12345.com.example.editor", "com.example.Editor", "Editor", true},
        {"Editor", "com.example.Editor", "Editor", true},
        {"editor", "com.example.Editor", "Editor", true},
        {"com.example.editor.extra", "com.example.Editor", "Editor", false},
        {"com.example.editor.plist.bak", "com.example.Editor", "Editor", false},
        {"xcom.example.editor", "com.example.Editor", "Editor", false},
        {"A.B.com.example.editor", "com.example.Editor", "Editor", false},
        {"Editor Data", "com.example.Editor", "Editor", false},
        // Names under four characters only match by identifier.
        {"Qix", "com.example.qix", "Qix", false},
        {"com.example.qix.plist", "com.example.qix", "Qix", true},
        // Characters, not bytes, decide, and letter case is Unicode's.
        {"\xC3\x89\x64\xC3\xA9", "com.example.ede", "\xC3\x89\x64\xC3\xA9", false},
        {"\xC3\xA9\x64it", "com.example.edit", "\xC3\x89\x64it", true},
        // Bytes that are not UTF-8 match only themselves.
        {"Caf\xE9 Tool", "com.example.cafe", "Caf\xE9 Tool", true},
        {"Caf\xC9 Tool", "com.example.cafe", "Caf\xE9 Tool", false},
        {".hidden.plist", "", "Ab", false},
        {"name.", "", "Ab", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppInventory::nameMatchesApp(c.entry, c.identifier, c.fileName), c.matches)
            << c.entry << " / " << c.identifier << " / " << c.fileName;
    }
}

TEST(LibraryLocations, LabelsInTableOrderWithCachesAndLogsMarked) {
    std::vector<std::string> labels;
    std::set<LibraryFolder> folders;
    for (const AppInventory::LibraryLocation& location : AppInventory::libraryLocations()) {
        labels.emplace_back(location.label);
        folders.insert(location.folder);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Application Support", "Caches", "Container",
                                                "Group Container", "Preferences", "Window State",
                                                "Logs", "Web Storage", "WebKit", "Cookies",
                                                "Launch Agent", "Scripts"}));
    EXPECT_EQ(folders.size(), labels.size());
    EXPECT_EQ(AppInventory::cacheAndLogDirs(),
              (std::set<LibraryFolder>{LibraryFolder::Caches, LibraryFolder::Logs}));
}

class AppInventoryTest : public ::testing::Test {
protected:
    std::string home(std::string_view relative) const { return "Users/a/" + std::string(relative); }
    std::string bundle(std::string_view relative, std::string_view info) {
        m_fixture.folder(std::string(relative) + "/Contents");
        if (!info.empty()) {
            m_fixture.file(std::string(relative) + "/Contents/Info.plist", info);
        }
        return m_fixture.path(relative);
    }
    const InstalledApp& find(const std::vector<InstalledApp>& apps, std::string_view relative) {
        const std::string path = m_fixture.path(relative);
        const auto found = std::find_if(apps.begin(), apps.end(),
                                        [&](const InstalledApp& app) { return app.path == path; });
        if (found == apps.end()) {
            throw std::runtime_error("no record for " + path);
        }
        return *found;
    }
    std::vector<std::string> labels(const InstalledApp& app) {
        std::vector<std::string> result;
        for (const RelatedItem& item : app.related) {
            result.push_back(item.label);
        }
        return result;
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
};

TEST_F(AppInventoryTest, NoApplicationFoldersAndNoLibraryGiveEmptyLists) {
    EXPECT_TRUE(
        AppInventory::collectApps(m_locations, SpotlightMetadata::system(), alwaysGranted).empty());
    EXPECT_TRUE(AppInventory::listLibraryEntries(m_locations, alwaysGranted).empty());
}

TEST_F(AppInventoryTest, ListsEveryLibraryNameOnceByLocationThenName) {
    m_fixture.file(home("Library/Preferences/b.plist"));
    m_fixture.file(home("Library/Preferences/.hidden"));
    m_fixture.folder(home("Library/Caches/a"));
    m_fixture.folder(home("Library/Containers/c"));
    m_fixture.folder(home("Library/Group Containers/g"));
    m_fixture.folder(home("Library/Application Scripts/s"));
    m_fixture.folder(home("Library/Preferences/nested/deeper"));
    const auto entry = [&](std::string_view relative, std::string name, LibraryFolder folder,
                           std::string label) {
        return LibraryEntry{m_fixture.path(home(relative)) + "/" + name, name, folder, label};
    };
    EXPECT_EQ(
        AppInventory::listLibraryEntries(m_locations, alwaysGranted),
        (std::vector<LibraryEntry>{
            entry("Library/Caches", "a", LibraryFolder::Caches, "Caches"),
            entry("Library/Containers", "c", LibraryFolder::Containers, "Container"),
            entry("Library/Group Containers", "g", LibraryFolder::GroupContainers,
                  "Group Container"),
            entry("Library/Preferences", ".hidden", LibraryFolder::Preferences, "Preferences"),
            entry("Library/Preferences", "b.plist", LibraryFolder::Preferences, "Preferences"),
            entry("Library/Preferences", "nested", LibraryFolder::Preferences, "Preferences"),
            entry("Library/Application Scripts", "s", LibraryFolder::ApplicationScripts, "Scripts"),
        }));
    // Without full disk access the container locations are not even listed.
    EXPECT_EQ(AppInventory::listLibraryEntries(m_locations, neverGranted).size(), 5U);
}

TEST_F(AppInventoryTest, ReadsBundlesWithTheirLibraryData) {
    bundle("Applications/Editor.app",
           xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"
                   "<key>CFBundleDisplayName</key><string>Editor Pro</string>"
                   "<key>CFBundleName</key><string>Editor</string>"
                   "<key>CFBundleShortVersionString</key><string>2.1</string>"
                   "<key>CFBundleExecutable</key><string>editor</string>"));
    m_fixture.allocatedFile("Applications/Editor.app/Contents/MacOS/editor", 40'000);
    m_fixture.file("Applications/Editor.app/Contents/_MASReceipt/receipt", "r");
    m_fixture.allocatedFile(home("Library/Application Support/Editor/data"), 100'000);
    m_fixture.allocatedFile(home("Library/Caches/com.example.editor/cache"), 300'000);
    m_fixture.allocatedFile(home("Library/Caches/com.example.editor.extra/cache"), 500'000);
    m_fixture.allocatedFile(home("Library/Containers/com.example.Editor/data"), 20'000);
    m_fixture.file(home("Library/Preferences/com.example.Editor.plist"), "p");
    m_fixture.file(home("Library/Cookies/com.example.editor.binarycookies"), "c");

    bundle("Users/a/Applications/Tools/Viewer.app",
           binaryInfo({{"CFBundleIdentifier", "com.example.viewer"}, {"CFBundleName", "Viewer"}}));
    bundle("Applications/NoID.app", "");
    m_fixture.allocatedFile(home("Library/Caches/NoID/cache"), 50'000);
    bundle("Applications/Damaged.app", xmlInfo("<key>CFBundleIdentifier</key>").substr(0, 50));
    bundle("Applications/Utilities/Apple Tool.app",
           xmlInfo("<key>CFBundleIdentifier</key><string>com.apple.tool</string>"));
    m_fixture.allocatedFile(home("Library/Caches/com.apple.tool/cache"), 50'000);
    bundle("Applications/Caf\xE9.app", "");

    test::FakeSpotlightMetadata spotlight;
    spotlight.setLastUsed(m_fixture.path("Users/a/Applications/Tools/Viewer.app"), 1'500'000);
    const std::vector<InstalledApp> apps =
        AppInventory::collectApps(m_locations, spotlight, alwaysGranted);
    ASSERT_EQ(apps.size(), 6U);
    for (std::size_t index = 1; index < apps.size(); ++index) {
        EXPECT_GE(apps[index - 1].totalSize(), apps[index].totalSize());
    }
    EXPECT_EQ(std::unordered_set<InstalledApp>(apps.begin(), apps.end()).size(), apps.size());

    const InstalledApp& editor = find(apps, "Applications/Editor.app");
    EXPECT_EQ(editor.name, "Editor Pro");
    EXPECT_EQ(editor.bundleID, "com.example.Editor");
    EXPECT_EQ(editor.version, "2.1");
    EXPECT_TRUE(editor.isAppStore);
    EXPECT_FALSE(editor.isApple);
    EXPECT_EQ(editor.appSize, Scanner::directorySize(editor.path).bytes);
    EXPECT_EQ(labels(editor), (std::vector<std::string>{"Caches", "Application Support",
                                                        "Container", "Preferences", "Cookies"}));
    EXPECT_EQ(editor.related[0].path, m_fixture.path(home("Library/Caches/com.example.editor")));
    EXPECT_EQ(editor.related[0].size, Scanner::directorySize(editor.related[0].path).bytes);
    EXPECT_EQ(editor.totalSize(), editor.appSize + editor.relatedSize());

    const InstalledApp& viewer = find(apps, "Users/a/Applications/Tools/Viewer.app");
    EXPECT_EQ(viewer.name, "Viewer");
    EXPECT_EQ(viewer.bundleID, "com.example.viewer");
    EXPECT_EQ(viewer.lastUsed, 1'500'000);
    EXPECT_FALSE(viewer.isAppStore);

    test::FakeWorkspace workspace;
    workspace.setRunning({"com.example.other", "com.example.viewer"});
    EXPECT_TRUE(AppInventory::isRunning(viewer.bundleID, workspace));
    EXPECT_FALSE(AppInventory::isRunning(editor.bundleID, workspace));
    EXPECT_FALSE(AppInventory::isRunning(std::nullopt, workspace));
    // Identifiers of running applications are compared with their letter case.
    EXPECT_FALSE(AppInventory::isRunning("com.example.Viewer", workspace));

    for (const auto& [relative, name] : {std::pair{"Applications/NoID.app", "NoID"},
                                         {"Applications/Damaged.app", "Damaged"},
                                         {"Applications/Caf\xE9.app", "Caf\xE9"}}) {
        const InstalledApp& app = find(apps, relative);
        EXPECT_EQ(app.name, name);
        EXPECT_EQ(app.bundleID, std::nullopt) << name;
        EXPECT_EQ(app.version, std::nullopt) << name;
        EXPECT_TRUE(app.related.empty()) << name;
        EXPECT_EQ(app.totalSize(), app.appSize) << name;
        EXPECT_EQ(app.lastUsed, std::nullopt) << name;
        EXPECT_EQ(app.lastUsedSortDate(), distantPast) << name;
        EXPECT_LT(app.lastUsedSortDate(), viewer.lastUsedSortDate()) << name;
    }

    const InstalledApp& apple = find(apps, "Applications/Utilities/Apple Tool.app");
    EXPECT_TRUE(apple.isApple);
    EXPECT_TRUE(apple.related.empty());
}

TEST_F(AppInventoryTest, ContainersNeedFullDiskAccess) {
    const std::string path =
        bundle("Applications/Editor.app",
               xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"));
    m_fixture.folder(home("Library/Containers/com.example.Editor"));
    m_fixture.folder(home("Library/Group Containers/TEAM.com.example.editor"));
    m_fixture.folder(home("Library/Caches/com.example.Editor"));
    const std::vector<LibraryEntry> library =
        AppInventory::listLibraryEntries(m_locations, neverGranted);
    EXPECT_EQ(labels(AppInventory::readApp(path, library)), (std::vector<std::string>{"Caches"}));
}

TEST_F(AppInventoryTest, LastUsedIgnoresCachesAndLogs) {
    const std::string path =
        bundle("Applications/Editor.app",
               xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"
                       "<key>CFBundleExecutable</key><string>editor</string>"));
    m_fixture.file("Applications/Editor.app/Contents/MacOS/editor", "#!");
    m_fixture.file(home("Library/Preferences/com.example.Editor.plist"), "p");
    m_fixture.file(home("Library/Caches/com.example.Editor"), "c");
    m_fixture.file(home("Library/Logs/com.example.Editor"), "l");
    m_fixture.setTimes("Applications/Editor.app/Contents/MacOS/editor", 100, 2'000);
    m_fixture.setTimes(home("Library/Preferences/com.example.Editor.plist"), 1'000, 9'000);
    m_fixture.setTimes(home("Library/Caches/com.example.Editor"), 5'000, 5'000);
    m_fixture.setTimes(home("Library/Logs/com.example.Editor"), 6'000, 6'000);

    const auto lastUsed = [&] {
        return AppInventory::readApp(path,
                                     AppInventory::listLibraryEntries(m_locations, alwaysGranted))
            .lastUsed;
    };
    // The executable's access date is later than the preferences' modification date.
    EXPECT_EQ(lastUsed(), 2'000);
    m_fixture.setTimes(home("Library/Preferences/com.example.Editor.plist"), 3'000, 9'000);
    EXPECT_EQ(lastUsed(), 3'000);
    // Only caches and logs, which regenerate by themselves, and no executable: never used.
    ::unlink(m_fixture.path(home("Library/Preferences/com.example.Editor.plist")).c_str());
    ::unlink(m_fixture.path("Applications/Editor.app/Contents/MacOS/editor").c_str());
    EXPECT_EQ(lastUsed(), std::nullopt);
}

TEST_F(AppInventoryTest, LabelsOnlyNameTheLocations) {
    const std::string path =
        bundle("Applications/Editor.app",
               xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"));
    m_fixture.file(home("Library/Preferences/com.example.Editor.plist"), "p");
    m_fixture.file(home("Library/Caches/com.example.Editor"), "c");
    m_fixture.setTimes(home("Library/Preferences/com.example.Editor.plist"), 1'000, 1'000);
    m_fixture.setTimes(home("Library/Caches/com.example.Editor"), 5'000, 5'000);
    // A translation may give two locations one label, or give one the English text of another.
    std::vector<LibraryEntry> library =
        AppInventory::listLibraryEntries(m_locations, alwaysGranted);
    for (LibraryEntry& entry : library) {
        entry.label = "Caches";
    }

    const InstalledApp app = AppInventory::readApp(path, library);

    EXPECT_EQ(labels(app), (std::vector<std::string>{"Caches", "Caches"}));
    EXPECT_EQ(app.lastUsed, 1'000);
}

TEST_F(AppInventoryTest, UnreadableLibraryFolderAndBundleStillList) {
    bundle("Applications/Editor.app",
           xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"));
    bundle("Applications/Locked.app",
           xmlInfo("<key>CFBundleIdentifier</key><string>com.example.Locked</string>"));
    m_fixture.file(home("Library/Preferences/com.example.Editor.plist"), "p");
    m_fixture.file(home("Library/Caches/com.example.Editor"), "c");
    m_fixture.setMode(home("Library/Caches"), 0);
    m_fixture.setMode("Applications/Locked.app/Contents", 0);
    const int status = test::runUnprivileged([&] {
        const std::vector<InstalledApp> apps =
            AppInventory::collectApps(m_locations, SpotlightMetadata::system(), alwaysGranted);
        if (apps.size() != 2) {
            return 1;
        }
        const InstalledApp& locked = find(apps, "Applications/Locked.app");
        if (locked.name != "Locked" || locked.bundleID) {
            return 2;
        }
        const InstalledApp& editor = find(apps, "Applications/Editor.app");
        return labels(editor) == std::vector<std::string>{"Preferences"} ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace dorvale
