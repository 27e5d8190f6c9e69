#include "inventory/DeveloperArtefacts.hpp"

#include "inventory/InstalledApp.hpp"
#include "support/TestValues.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

using test::catalogueRule;
using test::homeAt;
using test::TreeBuilder;

constexpr std::int64_t MB = 1'000'000;

std::vector<std::string> titles(const std::vector<DevItem>& items) {
    std::vector<std::string> result;
    for (const DevItem& item : items) {
        result.push_back(item.title);
    }
    return result;
}

TEST(ArtefactFolders, ReportsLargeArtefactsOnceAndSearchesEverythingElse) {
    TreeBuilder tree{"/work/code"};
    FileNode* root = tree.root();
    // A reported folder hides what lies inside it.
    FileNode* aModules = tree.folder(tree.folder(root, "a"), "node_modules", {}, 5 * MB);
    tree.folder(tree.folder(aModules, "left-pad"), "node_modules", {}, 25 * MB);
    // One at the threshold is not reported; other folders are searched at any depth.
    FileNode* b = tree.folder(root, "b");
    tree.folder(b, "node_modules", {}, 20'000'000);
    tree.folder(tree.folder(b, "nested"), "node_modules", {}, 20'000'001);
    FileNode* venv = tree.folder(tree.folder(root, "c"), ".venv");
    tree.folder(tree.folder(venv, "lib"), "__pycache__", {}, 25 * MB);
    // Packages are not entered; deleted folders are neither reported nor searched.
    tree.folder(tree.folder(root, "Tool.app"), "node_modules", {}, 30 * MB);
    FileNode* gone = tree.folder(root, "gone");
    tree.folder(gone, "node_modules", {}, 30 * MB);
    FileNode* deletedModules = tree.folder(root, "node_modules");
    tree.folder(deletedModules, "venv", {}, 25 * MB);
    // Names match exactly, and only folders.
    FileNode* names = tree.folder(root, "names");
    for (const char* name : {"Venv", "Node_Modules", "node_modules_old", "venv"}) {
        tree.folder(names, name, {}, 30 * MB);
    }
    tree.file(names, "node_modules", 30 * MB);
    ScanResult scan = tree.finish();
    scan.markDeleted(*gone);
    scan.markDeleted(*deletedModules);

    const std::vector<DevItem> items = artefactFolders(scan, homeAt("/Users/x"));

    // Depth-first: the last child pushed is searched first.
    EXPECT_EQ(titles(items),
              (std::vector<std::string>{"names / venv", "c / .venv", "nested / node_modules",
                                        "a / node_modules"}));
}

TEST(ArtefactFolders, DescribesAFolderByItsProjectAndLeavesTheLibraryToTheJunkRules) {
    constexpr std::string_view data = "/System/Volumes/Data";
    TreeBuilder tree{std::string(data), {.modified = 111}};
    FileNode* home = tree.folder(tree.folder(tree.root(), "Users"), "x");
    FileNode* code = tree.folder(home, "code", {.modified = 500}, 10 * MB);
    tree.folder(code, "node_modules", {.modified = 900}, 30 * MB);
    FileNode* library = tree.folder(home, "Library");
    tree.folder(tree.folder(tree.folder(library, "Developer"), "Xcode"), "DerivedData", {},
                30 * MB);
    tree.folder(tree.folder(tree.folder(library, "Caches"), "web"), "node_modules", {}, 30 * MB);
    tree.folder(tree.folder(home, "LibraryOld"), "Pods", {}, 30 * MB);
    tree.folder(tree.root(), "DerivedData", {.modified = 222}, 30 * MB);
    const ScanResult scan = tree.finish();

    const std::vector<DevItem> items =
        artefactFolders(scan, homeAt("/Users/x", "/System/Volumes/Data"));

    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], (DevItem{.path = "/System/Volumes/Data/DerivedData",
                                 .title = "/System/Volumes/Data / DerivedData",
                                 .detail = "Xcode intermediate builds.",
                                 .size = 30 * MB,
                                 .lastTouched = 111,
                                 .removal = Removal::Permanent}));
    EXPECT_EQ(items[1].title, "LibraryOld / Pods");
    EXPECT_EQ(items[1].detail, "CocoaPods dependencies. `pod install` restores them.");
    // The project folder's date, not the artefact's own; the path keeps the data volume.
    EXPECT_EQ(items[2], (DevItem{.path = "/System/Volumes/Data/Users/x/code/node_modules",
                                 .title = "code / node_modules",
                                 .detail = "Node dependencies. `npm install` restores them.",
                                 .size = 30 * MB,
                                 .lastTouched = 500,
                                 .removal = Removal::Permanent}));
}

TEST(FindDeveloperArtifacts, AddsTheDeveloperJunkItemsAfterTheTreeFolders) {
    const JunkFinding derived{
        .rule = catalogueRule("xcode-derived"),
        .items = {JunkItem{.id = "/Users/x/Library/Developer/Xcode/DerivedData/MyApp-abc123",
                           .size = 7 * MB,
                           .modified = 1000},
                  JunkItem{.id = "/Users/x/Library/Developer/Xcode/DerivedData/Old", .size = 3}},
    };
    const JunkFinding caches{.rule = catalogueRule("user-caches"),
                             .items = {JunkItem{.id = "/Users/x/Library/Caches/app", .size = 9}}};
    const JunkFinding archives{
        .rule = catalogueRule("xcode-archives"),
        .items = {JunkItem{.id = "/Users/x/Library/Developer/Xcode/Archives/2024-01-01",
                           .size = 5,
                           .modified = 2000}},
    };
    const std::vector<JunkFinding> junk{derived, caches, archives};
    TreeBuilder tree{"/Users/x/code"};
    tree.folder(tree.root(), "node_modules", {}, 30 * MB);
    const ScanResult scan = tree.finish();
    const Locations locations = homeAt("/Users/x");

    const std::vector<DevItem> withoutScan = findDeveloperArtefacts(nullptr, junk, locations);
    ASSERT_EQ(withoutScan.size(), 3u);
    EXPECT_EQ(withoutScan[0],
              (DevItem{.path = "/Users/x/Library/Developer/Xcode/DerivedData/MyApp-abc123",
                       .title = "Xcode · DerivedData · MyApp-abc123",
                       .detail = catalogueRule("xcode-derived").explanation,
                       .size = 7 * MB,
                       .lastTouched = 1000,
                       .removal = Removal::Permanent}));
    EXPECT_EQ(withoutScan[1].title, "Xcode · DerivedData · Old");
    EXPECT_EQ(withoutScan[1].lastTouched, distantPast);
    EXPECT_EQ(withoutScan[2].title, "Xcode · Archives · 2024-01-01");
    EXPECT_EQ(withoutScan[2].removal, Removal::Trash);

    EXPECT_EQ(titles(findDeveloperArtefacts(&scan, junk, locations)),
              (std::vector<std::string>{
                  "/Users/x/code / node_modules", "Xcode · DerivedData · MyApp-abc123",
                  "Xcode · DerivedData · Old", "Xcode · Archives · 2024-01-01"}));
    EXPECT_TRUE(findDeveloperArtefacts(nullptr, {}, locations).empty());
    EXPECT_TRUE(findDeveloperArtefacts(nullptr, std::vector{caches}, locations).empty());
}

// A folder of the tree that a developer rule also finds is listed once, as the tree's.
TEST(FindDeveloperArtifacts, ListsAPathFoundByBothSourcesOnce) {
    TreeBuilder tree{"/Users/x"};
    tree.folder(tree.folder(tree.root(), ".cache"), "node_modules", {}, 30 * MB);
    const ScanResult scan = tree.finish();
    const JunkFinding dotCache{
        .rule = catalogueRule("dot-cache"),
        .items = {JunkItem{.id = "/Users/x/.cache/node_modules", .size = 30 * MB},
                  JunkItem{.id = "/Users/x/.cache/pip", .size = 2 * MB}},
    };
    const std::vector<DevItem> items =
        findDeveloperArtefacts(&scan, std::vector{dotCache, dotCache}, homeAt("/Users/x"));
    EXPECT_EQ(titles(items),
              (std::vector<std::string>{".cache / node_modules", "Tool caches (~/.cache) · pip"}));
}

} // namespace
} // namespace dorvale
