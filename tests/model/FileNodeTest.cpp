#include "model/FileNode.hpp"

#include "model/DisplayPath.hpp"
#include "model/FileFilter.hpp"
#include "platform/Clock.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

using test::TreeBuilder;

constexpr std::string_view dataVolume = "/System/Volumes/Data";

TEST(FileNodePath, JoinsNamesBelowTheRoot) {
    TreeBuilder slash("/");
    FileNode* x = slash.folder(slash.folder(slash.root(), "Users"), "x");
    EXPECT_EQ(x->path(), "/Users/x");
    EXPECT_EQ(slash.root()->path(), "/");

    TreeBuilder data(std::string{dataVolume});
    FileNode* y = data.folder(data.folder(data.root(), "Users"), "x");
    EXPECT_EQ(y->path(), "/System/Volumes/Data/Users/x");
}

TEST(FileNode, SortKeepsOrderOfEqualSizes) {
    TreeBuilder tree("/r");
    const FileNode* a = tree.file(tree.root(), "a", 10);
    const FileNode* b = tree.file(tree.root(), "b", 20);
    const FileNode* c = tree.file(tree.root(), "c", 10);
    std::vector<const FileNode*> nodes{a, b, c};
    sortBySizeDescending(nodes);
    EXPECT_EQ(nodes, (std::vector<const FileNode*>{b, a, c}));
}

TEST(FileNode, FolderChainRunsFromTheRootAndStopsAtAFilesFolder) {
    TreeBuilder tree("/r");
    const FileNode* a = tree.folder(tree.root(), "a");
    FileNode* b = tree.folder(tree.folder(tree.root(), "a2"), "b");
    const FileNode* file = tree.file(b, "f.mov", 10);
    const std::vector<const FileNode*> root{tree.root()};
    EXPECT_EQ(folderChain(*tree.root()), root);
    EXPECT_EQ(folderChain(*a), (std::vector<const FileNode*>{tree.root(), a}));
    EXPECT_EQ(folderChain(*file), folderChain(*b));
    EXPECT_EQ(folderChain(*b).size(), 3u);
}

struct DisplayCase {
    std::string path;
    std::string shown;

    friend std::ostream& operator<<(std::ostream& out, const DisplayCase& c) {
        return out << c.path;
    }
};

class DisplayPathTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayPathTest, DropsTheDataVolumeAndShortensHome) {
    Locations locations;
    locations.home = "/Users/x";
    locations.dataVolume = dataVolume;
    EXPECT_EQ(displayPath(GetParam().path, locations), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DisplayPathTest,
    testing::Values(DisplayCase{"/System/Volumes/Data", "/"},
                    DisplayCase{"/System/Volumes/Data/Users/x/Movies", "~/Movies"},
                    DisplayCase{"/Users/x", "~"}, DisplayCase{"/Users/xy", "/Users/xy"},
                    DisplayCase{"/System/Volumes/Database", "/System/Volumes/Database"},
                    DisplayCase{"/System/Volumes/Data/Users/x", "~"},
                    DisplayCase{"/Library", "/Library"}));

TEST(DisplayPath, HomeBeneathTheDataVolume) {
    const Locations locations = Locations::inside("/fixture");
    EXPECT_EQ(displayPath("/fixture/Users/a/Movies", locations), "~/Movies");
    EXPECT_EQ(displayPath("/fixture/Users/a", locations), "~");
    EXPECT_EQ(displayPath("/fixture/Library", locations), "/Library");
}

TEST(MatchingPath, WithoutAPrefixNothingChanges) {
    EXPECT_EQ(matchingPath("/System/Volumes/Data/Users", "/"), "/System/Volumes/Data/Users");
    EXPECT_EQ(matchingPath("/fixture/Users/a", "/fixture"), "/Users/a");
}

// A small tree under the data volume: Users/x/Movies/{Clip.mov, Old.mov}, Users/x/movies.txt.
class FileFilterTest : public testing::Test {
protected:
    FileFilterTest() {
        FileNode* x = tree.folder(tree.folder(tree.root(), "Users"), "x");
        FileNode* movies = tree.folder(x, "Movies");
        clip = tree.file(movies, "Clip.mov", 5'000'000, {.modified = now - 2 * secondsPerDay});
        old = tree.file(movies, "Old.mov", 1'000'000, {.modified = now - 400 * secondsPerDay});
        notes = tree.file(x, "movies.txt", 600'000, {.modified = now});
        result = tree.finish();
    }

    std::vector<std::string> matching(const FileFilter& filter) const {
        std::vector<std::string> names;
        for (const FileNode* node : {clip, old, notes}) {
            if (filter.matches(*node, now, dataVolume)) {
                names.emplace_back(node->name());
            }
        }
        return names;
    }

    using Names = std::vector<std::string>;
    const double now = 1'800'000'000;
    TreeBuilder tree{std::string(dataVolume)};
    ScanResult result;
    FileNode* clip = nullptr;
    FileNode* old = nullptr;
    FileNode* notes = nullptr;
};

TEST_F(FileFilterTest, QueryWithSlashMatchesPathsOtherwiseNames) {
    EXPECT_EQ(matching({.query = "Movies/"}), (Names{"Clip.mov", "Old.mov"}));
    EXPECT_EQ(matching({.query = "movies"}), (Names{"movies.txt"}));
    EXPECT_EQ(matching({.query = "CLIP"}), (Names{"Clip.mov"}));
    // The prefix is gone before matching, so a query for it finds nothing.
    EXPECT_EQ(matching({.query = "/System/Volumes"}), Names{});
}

TEST_F(FileFilterTest, EachConditionNarrows) {
    EXPECT_EQ(matching({.minSize = 1'000'000}), (Names{"Clip.mov", "Old.mov"}));
    EXPECT_EQ(matching({.kinds = {FileKind::Document}}), (Names{"movies.txt"}));
    EXPECT_EQ(matching({.bucket = StorageBucket::Video}), (Names{"Clip.mov", "Old.mov"}));
    EXPECT_EQ(matching({.modifiedOlderThanDays = 0}), (Names{"Clip.mov", "Old.mov", "movies.txt"}));
    EXPECT_EQ(matching({.modifiedOlderThanDays = 2}), (Names{"Clip.mov", "Old.mov"}));
    EXPECT_EQ(matching({.modifiedOlderThanDays = 3}), (Names{"Old.mov"}));
    EXPECT_EQ(matching({.pathPrefix = "/Users/x/Movies"}), (Names{"Clip.mov", "Old.mov"}));
    EXPECT_EQ(matching({.pathPrefix = "/System"}), Names{});
}

TEST(FileFilter, EqualityCoversEveryField) {
    const FileFilter base{.query = "a", .kinds = {FileKind::Image, FileKind::Video}};
    FileFilter same = base;
    same.kinds = {FileKind::Video, FileKind::Image};
    EXPECT_EQ(base, same);
    FileFilter other = base;
    other.hideProtected = true;
    EXPECT_NE(base, other);
}

} // namespace
} // namespace dorvale
