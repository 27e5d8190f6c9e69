#include "model/FilterPass.hpp"

#include "model/FileFilter.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::TreeBuilder;
using Names = std::vector<std::string>;

constexpr Timestamp now = 1'800'000'000;

// The rule on each node's whole matching path, rebuilt for every node.
bool matchesWholePath(const FileFilter& filter, const FileNode& node, std::string_view volume) {
    const std::string path = node.path();
    const std::string_view matching = matchingPath(path, volume == "/" ? "" : volume);
    const bool byPath = filter.query.find('/') != std::string::npos;
    return containsIgnoringCase(byPath ? matching : node.name(), filter.query) &&
           (!filter.pathPrefix || matching.starts_with(*filter.pathPrefix));
}

struct Scan {
    std::string dataVolume;
    ScanResult result;
};

// A disk seen from "/" with its data volume beneath: files directly in the root, in a folder
// whose name begins like the data volume's, in and around it, nested folders whose files the
// walk meets on both sides of a subfolder, names beyond ASCII, and a deleted folder.
Scan wholeDisk() {
    TreeBuilder tree("/");
    tree.file(tree.root(), "top.txt", 1);
    FileNode* volumes = tree.folder(tree.folder(tree.root(), "System"), "Volumes");
    tree.file(volumes, "Data", 1);
    tree.file(tree.folder(volumes, "Database"), "f.bin", 1);
    FileNode* data = tree.folder(volumes, "Data");
    tree.file(data, "at-volume.txt", 1);
    FileNode* x = tree.folder(tree.folder(data, "Users"), "x");
    FileNode* movies = tree.folder(x, "Movies");
    tree.file(movies, "Clip.mov", 1);
    FileNode* inner = tree.folder(movies, "Movies 2");
    tree.file(inner, "clip b.mov", 1);
    tree.file(movies, "Old.mov", 1);
    tree.file(tree.folder(x, "Ünïcode"), "Kelvin\u212A.txt", 1);
    FileNode* gone = tree.folder(x, "Gone");
    tree.file(tree.folder(gone, "deep"), "lost.mov", 1);
    tree.file(x, "movies.txt", 1);
    Scan scan{"/System/Volumes/Data", tree.finish()};
    scan.result.markDeleted(*gone);
    return scan;
}

// A scan rooted beneath the data volume, one of a disk without a data volume, and one of a
// plain folder.
Scan homeOnVolume() {
    TreeBuilder tree("/System/Volumes/Data/Users");
    FileNode* movies = tree.folder(tree.folder(tree.root(), "x"), "Movies");
    tree.file(movies, "Clip.mov", 1);
    tree.file(tree.root(), "loose.txt", 1);
    return {"/System/Volumes/Data", tree.finish()};
}

Scan diskWithoutVolume() {
    TreeBuilder tree("/");
    tree.file(tree.root(), "top.txt", 1);
    tree.file(tree.folder(tree.root(), "Movies"), "Clip.mov", 1);
    return {"/", tree.finish()};
}

Scan plainFolder() {
    TreeBuilder tree("/home/u");
    tree.file(tree.root(), "Clip.mov", 1);
    tree.file(tree.folder(tree.folder(tree.root(), "Movies"), "Movies"), "clip.mov", 1);
    return {"/", tree.finish()};
}

std::vector<FileFilter> filters() {
    const std::vector<std::string> queries = {
        "",         "movies/",         "s/clip",         "x/movies/clip", "/",   "/users",
        "ies/C",    "Data/",           "volumes/d",      "ünïCODE/",      "n/k", "e/kelvink",
        "u/movies", "Movies 2/Clip b", "movies/movies/", "clip",          "/top"};
    const std::vector<std::optional<std::string>> prefixes = {std::nullopt,
                                                              "/Users/x/Mov",
                                                              "/Users/x/Movies",
                                                              "/Users/x/Movies/",
                                                              "/Users/x/Movies/Cl",
                                                              "/",
                                                              "/System/Volumes/Database",
                                                              "/top",
                                                              "/at",
                                                              "/System/Volumes/Dat",
                                                              "",
                                                              "/home/u/Movies/Movies/c",
                                                              "/x/Movies/Clip.mov"};
    std::vector<FileFilter> all;
    for (const std::string& query : queries) {
        for (const auto& prefix : prefixes) {
            all.push_back({.query = query, .pathPrefix = prefix});
        }
    }
    return all;
}

Names names(const std::vector<const FileNode*>& nodes) {
    Names names;
    for (const FileNode* node : nodes) {
        names.push_back(node->path());
    }
    return names;
}

// Each folder's answer passed on to its files gives what the rule gives on every whole path,
// in walk order and in any other order.
TEST(FilterPass, AnswersAsTheRuleOnWholePaths) {
    for (Scan (*make)() : {wholeDisk, homeOnVolume, diskWithoutVolume, plainFolder}) {
        const Scan scan = make();
        std::vector<const FileNode*> reversed = scan.result.files;
        std::reverse(reversed.begin(), reversed.end());
        for (const FileFilter& filter : filters()) {
            std::vector<const FileNode*> expected;
            std::vector<const FileNode*> walked;
            for (const FileNode* node : scan.result.files) {
                if (matchesWholePath(filter, *node, scan.dataVolume)) {
                    expected.push_back(node);
                }
            }
            FilterPass pass(filter, now, scan.dataVolume);
            for (const FileNode* node : scan.result.files) {
                if (pass.matches(*node)) {
                    walked.push_back(node);
                }
            }
            std::vector<const FileNode*> backwards;
            for (const FileNode* node : reversed) {
                if (pass.matches(*node)) {
                    backwards.insert(backwards.begin(), node);
                }
            }
            const std::string what = scan.result.rootPath + ", query \"" + filter.query +
                                     "\", prefix \"" + filter.pathPrefix.value_or("(none)") + "\"";
            EXPECT_EQ(names(walked), names(expected)) << what;
            EXPECT_EQ(names(backwards), names(expected)) << what;
        }
    }
}

} // namespace
} // namespace dorvale
