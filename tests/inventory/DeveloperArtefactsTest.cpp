#include "inventory/DeveloperArtefacts.hpp"

#include "inventory/InstalledApp.hpp"
#include "model/FolderNames.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

#include <unordered_map>

namespace dorvale {
namespace {

constexpr std::int64_t MB = 1'000'000;

/// A tree whose folder sizes are given as they are, not summed from the contents, so a
/// folder can sit at the threshold while a deeper one lies above it.
class ExplicitTree {
public:
    explicit ExplicitTree(std::string rootPath, double modified = 0) {
        m_result.rootPath = rootPath;
        m_result.root = make(nullptr, rootPath, true, 0, modified);
    }

    [[nodiscard]] FileNode* root() const { return m_result.root; }

    FileNode* folder(FileNode* parent, std::string_view name, std::int64_t size = 0,
                     double modified = 0) {
        return make(parent, name, true, size, modified);
    }

    FileNode* file(FileNode* parent, std::string_view name, std::int64_t size) {
        return make(parent, name, false, size, 0);
    }

    [[nodiscard]] ScanResult finish() {
        for (auto& [folder, children] : m_children) {
            m_result.nodes->setChildren(*folder, children);
        }
        return std::move(m_result);
    }

private:
    FileNode* make(FileNode* parent, std::string_view name, bool isDirectory, std::int64_t size,
                   double modified) {
        FileNode::Attributes attributes;
        attributes.isDirectory = isDirectory;
        attributes.isPackage = isDirectory && isPackageName(name);
        attributes.size = size;
        attributes.modified = modified;
        FileNode* node = m_result.nodes->make(name, parent, attributes);
        if (parent != nullptr) {
            m_children[parent].push_back(node);
        }
        return node;
    }

    ScanResult m_result;
    std::unordered_map<FileNode*, std::vector<FileNode*>> m_children;
};

Locations homeAt(std::string home, std::string dataVolume = "/") {
    Locations locations;
    locations.home = std::move(home);
    locations.dataVolume = std::move(dataVolume);
    return locations;
}

const JunkRule& rule(std::string_view id) {
    for (const JunkRule& rule : JunkRule::all()) {
        if (rule.id == id) {
            return rule;
        }
    }
    throw std::logic_error("no such rule");
}

std::vector<std::string> titles(const std::vector<DevItem>& items) {
    std::vector<std::string> result;
    for (const DevItem& item : items) {
        result.push_back(item.title);
    }
    return result;
}

TEST(ArtefactFolders, ReportsLargeArtefactsOnceAndSearchesEverythingElse) {
    ExplicitTree tree{"/work/code"};
    // A reported folder hides what lies inside it.
    FileNode* a = tree.folder(tree.root(), "a", 40 * MB);
    FileNode* aModules = tree.folder(a, "node_modules", 30 * MB);
    tree.folder(tree.folder(aModules, "left-pad", 25 * MB), "node_modules", 25 * MB);
    // One at the threshold is not reported, but its inside is searched.
    FileNode* b = tree.folder(tree.root(), "b", 20 * MB);
    FileNode* bModules = tree.folder(b, "node_modules", 20'000'000);
    tree.folder(tree.folder(bModules, "nested", 21 * MB), "node_modules", 20'000'001);
    FileNode* c = tree.folder(tree.root(), "c", 30 * MB);
    tree.folder(tree.folder(tree.folder(c, ".venv", 30 * MB), "lib", 25 * MB), "__pycache__",
                25 * MB);
    // Packages are not entered; deleted folders are neither reported nor searched.
    tree.folder(tree.folder(tree.root(), "Tool.app", 30 * MB), "node_modules", 30 * MB);
    FileNode* gone = tree.folder(tree.root(), "gone", 30 * MB);
    tree.folder(gone, "node_modules", 30 * MB);
    gone->markDeleted();
    FileNode* deletedModules = tree.folder(tree.root(), "node_modules", 30 * MB);
    tree.folder(deletedModules, "venv", 25 * MB);
    deletedModules->markDeleted();
    // Names match exactly, and only folders.
    FileNode* names = tree.folder(tree.root(), "names", 150 * MB);
    for (const char* name : {"Venv", "Node_Modules", "node_modules_old", "venv"}) {
        tree.folder(names, name, 30 * MB);
    }
    tree.file(names, "node_modules", 30 * MB);
    const ScanResult scan = tree.finish();

    const std::vector<DevItem> items = artefactFolders(scan, homeAt("/Users/x"));

    // Depth-first: the last child pushed is searched first.
    EXPECT_EQ(titles(items),
              (std::vector<std::string>{"names / venv", "c / .venv", "nested / node_modules",
                                        "a / node_modules"}));
}

TEST(ArtefactFolders, DescribesAFolderByItsProjectAndLeavesTheLibraryToTheJunkRules) {
    constexpr std::string_view data = "/System/Volumes/Data";
    ExplicitTree tree{std::string(data), 111};
    FileNode* home = tree.folder(tree.folder(tree.root(), "Users"), "x");
    FileNode* code = tree.folder(home, "code", 40 * MB, 500);
    tree.folder(code, "node_modules", 30 * MB, 900);
    FileNode* library = tree.folder(home, "Library");
    tree.folder(tree.folder(tree.folder(library, "Developer"), "Xcode"), "DerivedData", 30 * MB);
    tree.folder(tree.folder(tree.folder(library, "Caches"), "web"), "node_modules", 30 * MB);
    tree.folder(tree.folder(home, "LibraryOld"), "Pods", 30 * MB);
    tree.folder(tree.root(), "DerivedData", 30 * MB, 222);
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
        .rule = rule("xcode-derived"),
        .items = {JunkItem{.id = "/Users/x/Library/Developer/Xcode/DerivedData/MyApp-abc123",
                           .size = 7 * MB,
                           .modified = 1000},
                  JunkItem{.id = "/Users/x/Library/Developer/Xcode/DerivedData/Old", .size = 3}},
    };
    const JunkFinding caches{.rule = rule("user-caches"),
                             .items = {JunkItem{.id = "/Users/x/Library/Caches/app", .size = 9}}};
    const JunkFinding archives{
        .rule = rule("xcode-archives"),
        .items = {JunkItem{.id = "/Users/x/Library/Developer/Xcode/Archives/2024-01-01",
                           .size = 5,
                           .modified = 2000}},
    };
    const std::vector<JunkFinding> junk{derived, caches, archives};
    ExplicitTree tree{"/Users/x/code"};
    tree.folder(tree.root(), "node_modules", 30 * MB);
    const ScanResult scan = tree.finish();
    const Locations locations = homeAt("/Users/x");

    const std::vector<DevItem> withoutScan = findDeveloperArtifacts(nullptr, junk, locations);
    ASSERT_EQ(withoutScan.size(), 3u);
    EXPECT_EQ(withoutScan[0],
              (DevItem{.path = "/Users/x/Library/Developer/Xcode/DerivedData/MyApp-abc123",
                       .title = "Xcode · DerivedData · MyApp-abc123",
                       .detail = rule("xcode-derived").explanation,
                       .size = 7 * MB,
                       .lastTouched = 1000,
                       .removal = Removal::Permanent}));
    EXPECT_EQ(withoutScan[1].title, "Xcode · DerivedData · Old");
    EXPECT_EQ(withoutScan[1].lastTouched, distantPast);
    EXPECT_EQ(withoutScan[2].title, "Xcode · Archives · 2024-01-01");
    EXPECT_EQ(withoutScan[2].removal, Removal::Trash);

    EXPECT_EQ(titles(findDeveloperArtifacts(&scan, junk, locations)),
              (std::vector<std::string>{
                  "/Users/x/code / node_modules", "Xcode · DerivedData · MyApp-abc123",
                  "Xcode · DerivedData · Old", "Xcode · Archives · 2024-01-01"}));
    EXPECT_TRUE(findDeveloperArtifacts(nullptr, {}, locations).empty());
    EXPECT_TRUE(findDeveloperArtifacts(nullptr, std::vector{caches}, locations).empty());
}

} // namespace
} // namespace dorvale
