#include "model/JunkScan.hpp"

#include "platform/FileDates.hpp"
#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Trash.hpp"
#include "support/FileChecks.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"
#include "support/TestValues.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::allocated;
using test::catalogueRule;
using test::FixtureTree;

constexpr Timestamp now = 1'700'000'000;
constexpr Timestamp fixedNow = now;
constexpr std::int64_t kib = 1024;

const test::FixedClock fixedClock(fixedNow);

std::vector<std::string> itemIds(const JunkFinding& finding) {
    std::vector<std::string> ids;
    for (const JunkItem& item : finding.items) {
        ids.push_back(item.id);
    }
    return ids;
}

std::vector<std::string> findingIds(const std::vector<JunkFinding>& findings) {
    std::vector<std::string> ids;
    for (const JunkFinding& finding : findings) {
        ids.push_back(finding.id());
    }
    return ids;
}

// A fixture folder laid out like a home folder, with the matching locations.
struct FixtureHome {
    FixtureTree tree;
    Locations locations = Locations::inside(tree.root());

    std::string home(std::string_view relative) const { return locations.homePath(relative); }
};

TEST(JunkScan, KeepsMeasuredChildrenThatPassTheFilters) {
    FixtureHome f;
    auto& t = f.tree;
    const std::string caches = "Users/a/Library/Caches/";
    const std::string folder = t.folder(caches + "com.example.app");
    const std::string inner = t.allocatedFile(caches + "com.example.app/db/blob", 12 * kib);
    const std::string second = t.allocatedFile(caches + "com.example.app/index", 4 * kib);
    const std::string db = t.path(caches + "com.example.app/db");
    const std::string big = t.allocatedFile(caches + "big.bin", 64 * kib);
    const std::string hidden = t.allocatedFile(caches + ".hidden", 8 * kib);
    const std::string oddName = t.allocatedFile(caches + "bad\xff\xfe name", 20 * kib);
    t.allocatedFile(caches + "CloudKit/records", 32 * kib);
    t.allocatedFile(caches + "app.dorvale.Dorvale/state", 32 * kib);
    t.allocatedFile(caches + ".DS_Store", 4 * kib);
    t.file(caches + "empty.txt");
    t.sparseFile(caches + "sparse.img", 1024 * kib);
    t.folder(caches + "emptyTree/a/b");
    t.setTimes(caches + "big.bin", now - 3 * secondsPerDay, now);

    const auto finding =
        JunkScan::collectItems(catalogueRule("user-caches"), f.locations, fixedClock);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(finding->rule, catalogueRule("user-caches"));
    const std::vector<JunkItem> expected = {
        {big, "user-caches", allocated(big), 1, now - 3 * secondsPerDay},
        {folder, "user-caches",
         allocated(folder) + allocated(db) + allocated(inner) + allocated(second), 2,
         contentModificationDate(folder)},
        {oddName, "user-caches", allocated(oddName), 1, contentModificationDate(oddName)},
        {hidden, "user-caches", allocated(hidden), 1, contentModificationDate(hidden)},
    };
    ASSERT_EQ(finding->items.size(), expected.size()) << testing::PrintToString(itemIds(*finding));
    EXPECT_EQ(finding->items, expected);
    EXPECT_EQ(finding->totalSize(),
              expected[0].size + expected[1].size + expected[2].size + expected[3].size);
}

TEST(JunkScan, TrashItemsIncludeDSStoreAndKeepTheirTrashPath) {
    FixtureHome f;
    const std::string original = f.tree.allocatedFile("Users/a/Documents/old.mov", 16 * kib);
    const Trash desktopTrash(f.locations, fixedClock);
    const Result<std::string> trashed = desktopTrash.moveToTrash(original);
    ASSERT_TRUE(trashed.ok());
    const std::string store =
        f.tree.allocatedFile("Users/a/.local/share/Trash/files/.DS_Store", 4 * kib);
    f.tree.allocatedFile("Users/a/Library/Logs/.DS_Store", 4 * kib);

    const auto trash = JunkScan::collectItems(catalogueRule("trash"), f.locations, fixedClock);
    ASSERT_TRUE(trash.has_value());
    EXPECT_EQ(itemIds(*trash), (std::vector{trashed.value(), store}));
    const auto logs = JunkScan::collectItems(catalogueRule("user-logs"), f.locations, fixedClock);
    ASSERT_TRUE(logs.has_value());
    EXPECT_TRUE(logs->items.empty());

    // Removing the item by its id also drops its description from the desktop's Trash.
    const auto info = Trash::infoFileFor(trash->items[0].id);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(*info, f.locations.homeTrash() + "/info/old.mov.trashinfo");
    ASSERT_GE(allocated(*info), 0);
    ASSERT_TRUE(removeForGood(trash->items[0].id).ok());
    EXPECT_EQ(allocated(*info), -1);
    EXPECT_EQ(allocated(trashed.value()), -1);
}

TEST(JunkScan, InstallersMustMatchAnExtensionAndBeAWeekOld) {
    FixtureHome f;
    auto& t = f.tree;
    const auto old = [&](const std::string& name, Timestamp age) {
        t.setTimes("Users/a/Downloads/" + name, now - age, now);
        return f.locations.homePath("Downloads/" + name);
    };
    t.allocatedFile("Users/a/Downloads/Old.DMG", 12 * kib);
    t.allocatedFile("Users/a/Downloads/Recent.dmg", 8 * kib);
    t.allocatedFile("Users/a/Downloads/Edge.iso", 8 * kib);
    t.allocatedFile("Users/a/Downloads/notes.txt", 8 * kib);
    t.allocatedFile("Users/a/Downloads/dmg", 8 * kib);
    t.allocatedFile("Users/a/Downloads/.pkg", 8 * kib);
    t.allocatedFile("Users/a/Downloads/Tool.pkg/Contents/Payload", 40 * kib);
    t.file("Users/a/Downloads/Tool.pkg/Contents/Info.plist", "<plist/>");
    const std::string oldImage = old("Old.DMG", 10 * secondsPerDay);
    old("Recent.dmg", 3 * secondsPerDay);
    const std::string edge = old("Edge.iso", 7 * secondsPerDay);
    for (const char* name : {"notes.txt", "dmg", ".pkg"}) {
        old(name, 30 * secondsPerDay);
    }
    const std::string package = old("Tool.pkg", 10 * secondsPerDay);

    const auto finding =
        JunkScan::collectItems(catalogueRule("old-installers"), f.locations, fixedClock);
    ASSERT_TRUE(finding.has_value());
    ASSERT_EQ(itemIds(*finding), (std::vector{package, oldImage, edge}));
    const JunkItem& tool = finding->items[0];
    EXPECT_EQ(tool.fileCount, 2);
    EXPECT_EQ(tool.size, allocated(package) + allocated(package + "/Contents") +
                             allocated(package + "/Contents/Payload") +
                             allocated(package + "/Contents/Info.plist"));
    EXPECT_EQ(finding->items[1].modified, std::optional(now - 10 * secondsPerDay));
}

TEST(JunkScan, EqualSizesKeepListingOrder) {
    FixtureHome f;
    for (char c = 'a'; c <= 'h'; ++c) {
        f.tree.allocatedFile("Users/a/Library/Logs/log-" + std::string(1, c), 4 * kib);
    }
    f.tree.allocatedFile("Users/a/Library/Logs/big", 16 * kib);
    std::vector<std::string> expected = {f.home("Library/Logs/big")};
    const std::vector<std::string> listed = listFolder(f.home("Library/Logs")).value();
    for (const std::string& name : listed) {
        if (name != "big") {
            expected.push_back(f.home("Library/Logs/" + name));
        }
    }

    const auto finding =
        JunkScan::collectItems(catalogueRule("user-logs"), f.locations, fixedClock);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(itemIds(*finding), expected);
}

TEST(JunkScan, FollowsABaseThatIsALinkButKeepsThePathThroughIt) {
    FixtureHome f;
    f.tree.allocatedFile("elsewhere/caches/pip/wheel", 8 * kib);
    f.tree.symlink("../../elsewhere/caches", "Users/a/.cache");
    // A link among the children is measured as the link (which owns no block), never as
    // what it points to.
    f.tree.symlink("pip/wheel", "Users/a/.cache/wheel-link");
    ASSERT_EQ(allocated(f.home(".cache/wheel-link")), 0);

    const auto finding =
        JunkScan::collectItems(catalogueRule("dot-cache"), f.locations, fixedClock);
    ASSERT_TRUE(finding.has_value());
    ASSERT_EQ(itemIds(*finding), std::vector{f.home(".cache/pip")});
    EXPECT_EQ(finding->items[0].size, allocated(f.tree.path("elsewhere/caches/pip")) +
                                          allocated(f.tree.path("elsewhere/caches/pip/wheel")));
}

TEST(JunkScan, MissingOrUnlistableBasesGiveNothingAndUnmeasurableChildrenAreSkipped) {
    FixtureHome f;
    auto& t = f.tree;
    const std::string readable = t.allocatedFile("Users/a/Library/Caches/readable", 8 * kib);
    t.allocatedFile("Users/a/Library/Caches/locked/data", 8 * kib);
    t.setMode("Users/a/Library/Caches/locked", 0000);
    t.allocatedFile("Users/a/Library/Logs/app.log", 8 * kib);
    t.setMode("Users/a/Library/Logs", 0000);
    // Listable but not searchable: the names come back, yet nothing beneath them can be
    // examined, just as if each child vanished right after the listing.
    t.allocatedFile("Users/a/Library/Saved Application State/window", 8 * kib);
    t.setMode("Users/a/Library/Saved Application State", 0444);

    const int status = test::runUnprivileged([&]() -> int {
        const auto caches =
            JunkScan::collectItems(catalogueRule("user-caches"), f.locations, fixedClock);
        if (!caches || caches->items.size() != 1 || caches->items[0].id != readable) {
            return 1;
        }
        if (JunkScan::collectItems(catalogueRule("user-logs"), f.locations, fixedClock)) {
            return 2;
        }
        const auto state =
            JunkScan::collectItems(catalogueRule("saved-state"), f.locations, fixedClock);
        if (!state || !state->items.empty()) {
            return 3;
        }
        if (JunkScan::collectItems(catalogueRule("npm-cache"), f.locations, fixedClock)) {
            return 4;
        }
        const auto all = JunkScan::scanRules(JunkRule::all(), f.locations, fixedClock,
                                             [](const Locations&) { return true; });
        return findingIds(all) == std::vector<std::string>{"user-caches"} ? 0 : 5;
    });
    EXPECT_EQ(status, 0);
}

TEST(JunkScan, ScanRulesAsksForAccessOnceAndSortsFindingsByTotal) {
    FixtureHome f;
    auto& t = f.tree;
    t.allocatedFile("Users/a/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/a.pdf",
                    64 * kib);
    t.allocatedFile("Users/a/Library/Caches/one", 16 * kib);
    t.allocatedFile("Users/a/Library/Caches/two", 16 * kib);
    t.allocatedFile("Users/a/Library/Logs/app.log", 8 * kib);
    t.allocatedFile("Users/a/Library/Saved Application State/w", 8 * kib);
    t.file("Users/a/Downloads/empty.dmg");
    t.folder("Users/a/.npm/_cacache");

    int asked = 0;
    const auto scan = [&](std::span<const JunkRule> rules, bool access) {
        return JunkScan::scanRules(rules, f.locations, fixedClock, [&](const Locations& where) {
            ++asked;
            EXPECT_EQ(where.home, f.locations.home);
            return access;
        });
    };
    using Ids = std::vector<std::string>;
    EXPECT_EQ(findingIds(scan(JunkRule::all(), true)),
              (Ids{"mail-downloads", "user-caches", "user-logs", "saved-state"}));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(findingIds(scan(JunkRule::all(), false)),
              (Ids{"user-caches", "user-logs", "saved-state"}));
    EXPECT_EQ(asked, 2);

    // Equal totals keep the order the rules were given in.
    const std::vector<JunkRule> reversed(JunkRule::all().rbegin(), JunkRule::all().rend());
    EXPECT_EQ(findingIds(scan(reversed, true)),
              (Ids{"mail-downloads", "user-caches", "saved-state", "user-logs"}));
    EXPECT_TRUE(scan({}, true).empty());
    EXPECT_EQ(asked, 4);
}

} // namespace
} // namespace dorvale
