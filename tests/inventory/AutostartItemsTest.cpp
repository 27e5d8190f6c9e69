#include "inventory/AutostartItems.hpp"

#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Trash.hpp"
#include "support/FakeProcessRunner.hpp"
#include "support/FakeWorkspace.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

namespace dorvale {
namespace {

constexpr std::string_view userAutostart = "Users/a/.config/autostart/";
constexpr std::string_view systemAutostart = "etc/xdg/autostart/";
constexpr std::string_view userUnits = "Users/a/.config/systemd/user/";

std::string entry(std::string_view keys) {
    return "# written by hand\n[Desktop Entry]\nType=Application\n" + std::string(keys) +
           "\n[Desktop Action quit]\nHidden=true\nExec=/bin/false\n";
}

const LaunchItem* find(const std::vector<LaunchItem>& items, std::string_view label) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const LaunchItem& item) { return item.label == label; });
    return found == items.end() ? nullptr : &*found;
}

// One session's worth of autostart files: user and system entries, switched-off ones, a
// system entry the user hid, a broken file and an enabled user unit.
class AutostartItemsTest : public ::testing::Test {
protected:
    AutostartItemsTest() {
        const std::string program = m_fixture.file("usr/bin/notes", "#!/bin/sh\n");
        user("notes.desktop", "Name=Notes\nExec=" + program + " --hidden %U");
        user("gone.desktop", "Name=Gone\nExec=\"" + m_fixture.path("opt/gone app/run") + "\" -x");
        user("off.desktop", "Name=Off\nExec=off\nX-GNOME-Autostart-enabled=false");
        user("updates.desktop", "Hidden=true");
        user("readme.txt", "Name=Not an entry");
        m_fixture.file(std::string(userAutostart) + "broken.desktop", "Name=No group\n");
        system("updates.desktop", "Name=Updates\nExec=/usr/libexec/updates");
        system("keyring.desktop", "Name = Keyring\nExec=keyring-daemon --start\nHidden=false");
        m_fixture.file(std::string(userUnits) + "sync.service",
                       "[Unit]\nDescription=File sync\n[Service]\nExecStart=-" + program +
                           " sync\nRestart=always\n[Install]\nWantedBy=default.target\n");
        m_fixture.symlink("../sync.service",
                          std::string(userUnits) + "default.target.wants/sync.service");
        m_fixture.symlink("../missing.service",
                          std::string(userUnits) + "default.target.wants/missing.service");
    }

    void user(std::string_view name, const std::string& keys) {
        m_fixture.file(std::string(userAutostart) + std::string(name), entry(keys));
    }
    void system(std::string_view name, const std::string& keys) {
        m_fixture.file(std::string(systemAutostart) + std::string(name), entry(keys));
    }

    std::optional<std::string> remove(std::string_view label) {
        const std::vector<LaunchItem> items = LaunchItem::loadAll(m_locations, m_workspace);
        const LaunchItem* item = find(items, label);
        if (item == nullptr) {
            return "not listed";
        }
        return LaunchItem::remove(*item, 1000, m_locations, m_trash, m_processes, m_administrator);
    }
    // The link itself, not what it points to, which a moved relative link no longer reaches.
    bool trashed(std::string_view name) const {
        struct stat info {};
        const std::string moved = m_locations.trashFolder() + "/" + std::string(name);
        return ::lstat(moved.c_str(), &info) == 0 &&
               presenceOf(m_locations.homeTrash() + "/info/" + std::string(name) + ".trashinfo") ==
                   Presence::Present;
    }

    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    test::FakeWorkspace m_workspace;
    test::FixedClock m_clock{1'700'000'000};
    Trash m_trash{m_locations, m_clock};
    test::FakeProcessRunner m_processes;
    test::FakeAdministratorRunner m_administrator;
};

TEST_F(AutostartItemsTest, ReadsUserEntriesThenSystemEntriesTheUserDidNotOverride) {
    const std::vector<LaunchItem> items = AutostartItems::loadEntries(m_locations);
    std::vector<std::string> labels;
    for (const LaunchItem& item : items) {
        labels.push_back(item.label);
        EXPECT_EQ(item.kind, LaunchItem::Kind::AutostartEntry);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"gone", "notes", "off", "updates", "keyring"}));

    const LaunchItem* notes = find(items, "notes");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->ownerName, "Notes");
    EXPECT_EQ(notes->program, m_fixture.path("usr/bin/notes"));
    EXPECT_EQ(notes->scope, LaunchItem::Scope::UserAgent);
    EXPECT_TRUE(notes->runAtLoad);
    EXPECT_FALSE(notes->disabled || notes->isOrphan || notes->keepAlive);
    EXPECT_FALSE(notes->ownerPath);

    const LaunchItem* gone = find(items, "gone");
    ASSERT_NE(gone, nullptr);
    EXPECT_EQ(gone->program, m_fixture.path("opt/gone app/run"));
    EXPECT_TRUE(gone->isOrphan);

    // The user's "Hidden=true" copy stands for the system entry of the same name.
    const LaunchItem* updates = find(items, "updates");
    ASSERT_NE(updates, nullptr);
    EXPECT_EQ(updates->scope, LaunchItem::Scope::UserAgent);
    EXPECT_TRUE(updates->disabled);
    EXPECT_FALSE(updates->runAtLoad);
    EXPECT_TRUE(find(items, "off")->disabled);

    const LaunchItem* keyring = find(items, "keyring");
    ASSERT_NE(keyring, nullptr);
    EXPECT_EQ(keyring->scope, LaunchItem::Scope::SystemAgent);
    EXPECT_EQ(keyring->ownerName, "Keyring");
    EXPECT_EQ(keyring->program, "keyring-daemon");
    EXPECT_FALSE(keyring->disabled);
    EXPECT_FALSE(keyring->isOrphan);
}

TEST_F(AutostartItemsTest, ConfigDirsReplaceTheDefaultSystemFolderInTheirOrder) {
    m_fixture.file("first/autostart/keyring.desktop", entry("Name=First keyring\nExec=a"));
    m_locations.configDirs = {m_fixture.path("first"), m_fixture.path("etc/xdg")};
    const std::vector<LaunchItem> items = AutostartItems::loadEntries(m_locations);
    EXPECT_EQ(find(items, "keyring")->ownerName, "First keyring");
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [](const LaunchItem& item) { return item.label == "keyring"; }),
              1);
}

TEST_F(AutostartItemsTest, ReadsEnabledUserUnitsThroughTheirLinks) {
    const std::vector<LaunchItem> units = AutostartItems::loadUserUnits(m_locations);
    ASSERT_EQ(units.size(), 2U);
    const LaunchItem& missing = units[0];
    EXPECT_EQ(missing.label, "missing.service");
    EXPECT_TRUE(missing.isOrphan);
    const LaunchItem& sync = units[1];
    EXPECT_EQ(sync.path,
              m_fixture.path(std::string(userUnits) + "default.target.wants/sync.service"));
    EXPECT_EQ(sync.kind, LaunchItem::Kind::UserUnit);
    EXPECT_EQ(sync.scope, LaunchItem::Scope::UserAgent);
    EXPECT_EQ(sync.ownerName, "File sync");
    EXPECT_EQ(sync.program, m_fixture.path("usr/bin/notes"));
    EXPECT_TRUE(sync.runAtLoad && sync.keepAlive);
    EXPECT_FALSE(sync.isOrphan);
}

TEST_F(AutostartItemsTest, TheLoginItemsListHoldsTheSessionsItemsToo) {
    const std::vector<LaunchItem> items = LaunchItem::loadAll(m_locations, test::FakeWorkspace());
    EXPECT_EQ(items.size(), 7U);
    // Orphans lead, as for launch property lists.
    EXPECT_TRUE(items[0].isOrphan && items[1].isOrphan);
}

TEST_F(AutostartItemsTest, RemovesEachKindWithoutToolsOrPassword) {
    EXPECT_EQ(remove("notes"), std::nullopt);
    EXPECT_TRUE(trashed("notes.desktop"));

    // The system entry stays; the user's hidden entry of the same name switches it off.
    const std::string systemEntry =
        m_fixture.path(std::string(systemAutostart) + "keyring.desktop");
    EXPECT_EQ(remove("keyring"), std::nullopt);
    EXPECT_EQ(presenceOf(systemEntry), Presence::Present);
    const std::vector<LaunchItem> entries = AutostartItems::loadEntries(m_locations);
    const LaunchItem* keyring = find(entries, "keyring");
    ASSERT_NE(keyring, nullptr);
    EXPECT_EQ(keyring->scope, LaunchItem::Scope::UserAgent);
    EXPECT_EQ(keyring->ownerName, "Keyring");
    EXPECT_TRUE(keyring->disabled);

    // Only the enabling link goes; the unit file stays where the user put it.
    EXPECT_EQ(remove("sync.service"), std::nullopt);
    EXPECT_TRUE(trashed("sync.service"));
    EXPECT_EQ(presenceOf(m_fixture.path(std::string(userUnits) + "sync.service")),
              Presence::Present);
    EXPECT_EQ(find(AutostartItems::loadUserUnits(m_locations), "sync.service"), nullptr);

    EXPECT_TRUE(m_processes.calls().empty());
    EXPECT_TRUE(m_administrator.calls().empty());
}

TEST_F(AutostartItemsTest, RefusesSessionPathsThatAreNotEntriesOrLinks) {
    LaunchItem item;
    item.kind = LaunchItem::Kind::AutostartEntry;
    for (const std::string& path :
         {m_fixture.path("etc/xdg/autostart/../passwd"), m_fixture.path("etc/xdg/autostart/x.txt"),
          std::string("x.desktop")}) {
        item.path = path;
        EXPECT_EQ(
            LaunchItem::remove(item, 1000, m_locations, m_trash, m_processes, m_administrator),
            "Unsupported file name.")
            << path;
    }
    item.kind = LaunchItem::Kind::UserUnit;
    item.path = m_fixture.path(std::string(userUnits) + "sync.service");
    EXPECT_EQ(LaunchItem::remove(item, 1000, m_locations, m_trash, m_processes, m_administrator),
              "Unsupported file name.");
}

TEST_F(AutostartItemsTest, AnOverrideThatCannotBeWrittenIsWordedAndLeavesNothingBehind) {
    const std::string folder = m_fixture.path(userAutostart);
    m_fixture.setMode(userAutostart, 0555);
    const std::vector<std::string> before = sortedFolderNames(folder);
    const int status = test::runUnprivileged([this] {
        const std::optional<std::string> failure = remove("keyring");
        const bool worded = failure && !failure->empty() && *failure != "not listed" &&
                            *failure != "Unsupported file name.";
        return worded ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(sortedFolderNames(folder), before);
}

TEST_F(AutostartItemsTest, OpeningTheSettingsShowsTheAutostartFolderMadeIfMissing) {
    m_locations.configHome = m_fixture.path("fresh/config");
    LaunchItem::openLoginItemsSettings(m_locations, m_workspace);
    EXPECT_EQ(m_workspace.opened(), std::vector<std::string>{m_locations.autostartFolder()});
    EXPECT_EQ(presenceOf(m_locations.autostartFolder()), Presence::Present);
}

TEST(AutostartCommand, TakesTheProgramFromTheCommandLine) {
    struct Case {
        std::string_view command;
        std::optional<std::string> program;
    };
    for (const Case& c : {
             Case{"/usr/bin/app --flag %U", "/usr/bin/app"},
             Case{"  app", "app"},
             Case{"\"/opt/my app/run\" -x", "/opt/my app/run"},
             Case{"-!/usr/bin/x y", "/usr/bin/x"},
             Case{"", std::nullopt},
             Case{"  - ", std::nullopt},
         }) {
        EXPECT_EQ(AutostartItems::programOfCommand(c.command), c.program) << c.command;
    }
}

} // namespace
} // namespace dorvale
