#include "inventory/Recommendations.hpp"

#include "platform/Clock.hpp"
#include "support/TestValues.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

namespace Actions = RecommendationActions;
using test::NodeOptions;
using test::TreeBuilder;

constexpr std::int64_t MB = 1'000'000;
constexpr std::int64_t GB = 1'000 * MB;
constexpr Timestamp now = 1'700'000'000;

const Locations mac = test::homeAt("/Users/x", "/System/Volumes/Data");

// The plain layout, a data volume beneath a prefix that the home folder's path carries, and
// one whose home folder is reached without it.
const Locations layouts[] = {Locations::inside("/", "/Users/x"),
                             Locations::inside("/vol", "/Users/x"), mac};

/// A finding of the catalogue rule `id` with one item of each size, named item0, item1, …
JunkFinding finding(std::string_view id, std::vector<std::int64_t> sizes) {
    JunkFinding result{.rule = test::catalogueRule(id)};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        result.items.push_back(
            JunkItem{.id = "/junk/" + std::string(id) + "/item" + std::to_string(i),
                     .ruleID = std::string(id),
                     .size = sizes[i],
                     .fileCount = 1});
    }
    return result;
}

std::vector<std::string> ids(const std::vector<Recommendation>& cards) {
    std::vector<std::string> result;
    for (const Recommendation& card : cards) {
        result.push_back(card.id);
    }
    return result;
}

const Recommendation* card(const std::vector<Recommendation>& cards, std::string_view id) {
    for (const Recommendation& card : cards) {
        if (card.id == id) {
            return &card;
        }
    }
    return nullptr;
}

/// The finished tree with `deleted` marked deleted, as the application shares it.
std::shared_ptr<const ScanResult> shared(TreeBuilder& tree,
                                         std::initializer_list<const FileNode*> deleted = {}) {
    ScanResult result = tree.finish();
    for (const FileNode* node : deleted) {
        result.markDeleted(*node);
    }
    return std::make_shared<const ScanResult>(std::move(result));
}

TEST(Recommendations, JunkCardsAppearOnlyAboveTheirLimitsLargestFirst) {
    struct Case {
        const char* what;
        std::vector<JunkFinding> junk;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nothing at all", {}, {}},
        {"Trash at the limit", {finding("trash", {30 * MB, 20 * MB})}, {}},
        {"Trash above it", {finding("trash", {30 * MB, 20 * MB + 1})}, {"trash"}},
        {"safe junk at the limit", {finding("user-caches", {50 * MB})}, {}},
        {"safe junk summed over rules",
         {finding("user-caches", {30 * MB}), finding("saved-state", {20 * MB + 1})},
         {"junk"}},
        {"the Trash, review rules and rules outside the smart clean are not safe junk",
         {finding("user-caches", {30 * MB}), finding("trash", {30 * MB}),
          finding("system-logs", {30 * MB}), finding("npm-cache", {30 * MB})},
         {}},
        {"installers of no size", {finding("old-installers", {0, 0})}, {}},
        {"no installers", {finding("old-installers", {})}, {}},
        {"installers of one byte", {finding("old-installers", {1})}, {"installers"}},
        {"backups at the limit", {finding("ios-backups", {GB})}, {}},
        {"backups above it", {finding("ios-backups", {GB + 1})}, {"backups"}},
        // Xcode's DerivedData is also safe junk; equal sizes keep the table order.
        {"developer items above the limit", {finding("xcode-derived", {GB + 1})}, {"junk", "dev"}},
        {"developer items at the limit", {finding("xcode-derived", {GB})}, {"junk"}},
        {"archives go to the Trash and do not count", {finding("xcode-archives", {5 * GB})}, {}},
        {"largest first",
         {finding("trash", {60 * MB}), finding("old-installers", {60 * MB}),
          finding("ios-backups", {2 * GB}), finding("user-caches", {70 * MB})},
         {"backups", "junk", "trash", "installers"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ids(buildRecommendations(nullptr, c.junk, mac, now)), c.expected) << c.what;
    }
}

TEST(Recommendations, JunkCardsCarryTheirTextsAndActions) {
    const std::vector<JunkFinding> junk{
        finding("user-caches", {80 * MB}),           finding("trash", {50 * MB, 10 * MB}),
        finding("old-installers", {3 * MB, 2 * MB}), finding("ios-backups", {2 * GB}),
        finding("xcode-derived", {GB + 1}),          finding("xcode-archives", {GB}),
    };

    const std::vector<Recommendation> cards = buildRecommendations(nullptr, junk, mac, now);

    ASSERT_EQ(ids(cards),
              (std::vector<std::string>{"backups", "junk", "dev", "trash", "installers"}));
    EXPECT_EQ(cards[0], (Recommendation{
                            .id = "backups",
                            .symbol = "iphone",
                            .tint = {181, 123, 255},
                            .title = "iPhone/iPad backups",
                            .detail = "1 local backup(s). If you back up to iCloud, you may not "
                                      "need them.",
                            .size = 2 * GB,
                            .action = Actions::OpenSection{.section = RecommendedSection::Junk},
                        }));
    EXPECT_EQ(cards[2],
              (Recommendation{
                  .id = "dev",
                  .symbol = "hammer.fill",
                  .tint = {61, 214, 245},
                  .title = "Developer artifacts",
                  .detail = "node_modules, virtual environments and builds that can be "
                            "regenerated.",
                  .size = GB + 1,
                  .action = Actions::OpenSection{.section = RecommendedSection::Developer},
              }));
    EXPECT_EQ(cards[1], (Recommendation{
                            .id = "junk",
                            .symbol = "sparkles",
                            .tint = {123, 224, 123},
                            .title = "Safe junk",
                            .detail = "Caches, logs and leftovers that regenerate on their own. "
                                      "One click to clean.",
                            .size = 80 * MB + GB + 1,
                            .action = Actions::StartSmartClean{},
                        }));
    EXPECT_EQ(cards[3],
              (Recommendation{
                  .id = "trash",
                  .symbol = "trash.fill",
                  .tint = {201, 162, 126},
                  .title = "Empty the Trash",
                  .detail = "Whatever is in the Trash still takes up space.",
                  .size = 60 * MB,
                  .action =
                      Actions::RequestDeletion{
                          .title = "Empty the Trash",
                          .items = {{"/junk/trash/item0", "item0", 50 * MB, Removal::Permanent},
                                    {"/junk/trash/item1", "item1", 10 * MB, Removal::Permanent}}},
              }));
    EXPECT_EQ(
        cards[4],
        (Recommendation{
            .id = "installers",
            .symbol = "shippingbox.fill",
            .tint = {255, 159, 67},
            .title = "Forgotten installers",
            .detail = "2 .dmg/.pkg files in Downloads older than a week.",
            .size = 5 * MB,
            .action =
                Actions::RequestDeletion{
                    .title = "Delete installers",
                    .items = {{"/junk/old-installers/item0", "item0", 3 * MB, Removal::Trash},
                              {"/junk/old-installers/item1", "item1", 2 * MB, Removal::Trash}}},
        }));
}

TEST(Recommendations, CountsOldLargeFilesInTheHomeFolderOutsideItsLibrary) {
    for (const Locations& locations : layouts) {
        TreeBuilder tree{locations.dataVolume};
        FileNode* users = tree.folder(tree.root(), "Users");
        FileNode* home = tree.folder(users, "x");
        FileNode* movies = tree.folder(home, "Movies");
        const NodeOptions old{.modified = now - 181 * secondsPerDay};
        tree.file(movies, "counts.mov", 600 * MB, old);
        tree.file(movies, "smallest.mov", 500 * MB, old);
        tree.file(movies, "too-small.mov", 500 * MB - 1, old);
        tree.file(movies, "exactly-180-days.mov", 600 * MB,
                  {.modified = now - 180 * secondsPerDay});
        const FileNode* deleted = tree.file(movies, "deleted.mov", 600 * MB, old);
        FileNode* trip = tree.folder(movies, "Trip");
        tree.file(trip, "inside-deleted.mov", 600 * MB, old);
        tree.file(tree.folder(home, "Library"), "library.mov", 600 * MB, old);
        tree.file(tree.folder(users, "xy"), "neighbour.mov", 600 * MB, old);
        tree.file(tree.folder(tree.root(), "Applications"), "outside.mov", 600 * MB, old);
        const auto scan = shared(tree, {deleted, trip});

        const std::vector<Recommendation> cards = buildRecommendations(scan, {}, locations, now);

        ASSERT_EQ(ids(cards), std::vector<std::string>{"oldbig"}) << locations.dataVolume;
        EXPECT_EQ(cards[0],
                  (Recommendation{
                      .id = "oldbig",
                      .symbol = "clock.badge.exclamationmark.fill",
                      .tint = {242, 163, 58},
                      .title = "Forgotten large files",
                      .detail = "2 file(s) over 500 MB unchanged for 6 months.",
                      .size = 1100 * MB,
                      .action = Actions::OpenLargeFiles{.filter = {.minSize = 500 * MB,
                                                                   .modifiedOlderThanDays = 180,
                                                                   .pathPrefix = "/Users/x/"}},
                  }))
            << locations.dataVolume;
    }
}

/// A scan of `rootPath` holding the folders `above`, one inside the other, and in the last of
/// them a file of `size`; that folder is deleted when `deleted` is set.
std::shared_ptr<const ScanResult> downloadsScan(std::string rootPath,
                                                const std::vector<std::string>& above,
                                                std::int64_t size, bool deleted = false) {
    TreeBuilder tree{std::move(rootPath)};
    FileNode* folder = tree.root();
    for (const std::string& name : above) {
        folder = tree.folder(folder, name);
    }
    // Recent, so the file is no forgotten large file of its own.
    tree.file(folder, "big.iso", size, {.modified = now});
    if (deleted) {
        return shared(tree, {folder});
    }
    return shared(tree);
}

TEST(Recommendations, OpensTheExplorerAtALargeDownloadsFolder) {
    const std::vector<std::string> names = {"Users", "x", "Downloads"};
    struct Case {
        const char* what;
        std::shared_ptr<const ScanResult> scan;
        std::vector<std::string> chain;
    };
    const Case cases[] = {
        {"whole disk",
         downloadsScan("/System/Volumes/Data", names, 2 * GB + 1),
         {"/System/Volumes/Data", "Users", "x", "Downloads"}},
        {"home folder",
         downloadsScan("/Users/x", {"Downloads"}, 2 * GB + 1),
         {"/Users/x", "Downloads"}},
        {"the folder itself",
         downloadsScan("/Users/x/Downloads", {}, 2 * GB + 1),
         {"/Users/x/Downloads"}},
        {"at the limit", downloadsScan("/Users/x", {"Downloads"}, 2 * GB), {}},
        {"deleted", downloadsScan("/Users/x", {"Downloads"}, 3 * GB, true), {}},
        {"unrelated folder", downloadsScan("/Volumes/Work", {"Downloads"}, 3 * GB), {}},
        // A root that is only the first letters of the path stands for no folder of it.
        {"partial name", downloadsScan("/Users/x/Down", {"loads"}, 3 * GB), {}},
    };
    for (const Case& c : cases) {
        const std::vector<Recommendation> cards = buildRecommendations(c.scan, {}, mac, now);
        const Recommendation* downloads = card(cards, "downloads");
        if (c.chain.empty()) {
            EXPECT_EQ(downloads, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(downloads, nullptr) << c.what;
        EXPECT_EQ(downloads->title, "Downloads folder");
        EXPECT_EQ(downloads->detail, "Review what you no longer need, sorted by size.");
        EXPECT_EQ(downloads->symbol, "arrow.down.circle.fill");
        EXPECT_EQ(downloads->tint, (Rgb{47, 213, 201}));
        const auto* open = std::get_if<Actions::OpenExplorer>(&downloads->action);
        ASSERT_NE(open, nullptr) << c.what;
        EXPECT_EQ(open->scan, c.scan) << c.what;
        ASSERT_FALSE(open->stack.empty());
        EXPECT_EQ(open->stack.front(), c.scan->root) << c.what;
        EXPECT_EQ(downloads->size, open->stack.back()->size()) << c.what;
        std::vector<std::string> chain;
        for (const FileNode* node : open->stack) {
            chain.emplace_back(node->name());
        }
        EXPECT_EQ(chain, c.chain) << c.what;
    }
}

TEST(Recommendations, FindsTheDownloadsFolderInEveryLayout) {
    for (const Locations& locations : layouts) {
        struct Scan {
            std::string root;
            std::vector<std::string> above;
        };
        for (const Scan& s :
             {Scan{locations.dataVolume, {"Users", "x", "Downloads"}},
              Scan{locations.home, {"Downloads"}}, Scan{locations.homePath("Downloads"), {}}}) {
            const auto scan = downloadsScan(s.root, s.above, 3 * GB);

            const std::vector<Recommendation> cards =
                buildRecommendations(scan, {}, locations, now);

            const Recommendation* downloads = card(cards, "downloads");
            ASSERT_NE(downloads, nullptr) << s.root;
            EXPECT_EQ(downloads->size, 3 * GB) << s.root;
            const auto& open = std::get<Actions::OpenExplorer>(downloads->action);
            EXPECT_EQ(open.stack.size(), s.above.size() + 1) << s.root;
        }
    }
}

TEST(Recommendations, DeveloperCardSumsTreeFoldersAndJunkItems) {
    TreeBuilder tree{"/Users/x"};
    tree.file(tree.folder(tree.folder(tree.root(), "app"), "node_modules"), "blob", 600 * MB,
              {.modified = now});
    const auto scan = shared(tree);

    const std::vector<Recommendation> below =
        buildRecommendations(scan, std::vector{finding("npm-cache", {400 * MB})}, mac, now);
    const std::vector<Recommendation> above =
        buildRecommendations(scan, std::vector{finding("npm-cache", {400 * MB + 1})}, mac, now);

    EXPECT_EQ(ids(below), std::vector<std::string>{});
    ASSERT_EQ(ids(above), std::vector<std::string>{"dev"});
    EXPECT_EQ(above[0].size, GB + 1);
}

TEST(JunkFinding, FindsTheFirstFindingOfARule) {
    const std::vector<JunkFinding> junk{finding("trash", {1}), finding("trash", {2})};
    EXPECT_EQ(junkFinding(junk, "trash"), &junk[0]);
    EXPECT_EQ(junkFinding(junk, "Trash"), nullptr);
    EXPECT_EQ(junkFinding({}, "trash"), nullptr);
}

} // namespace
} // namespace dorvale
