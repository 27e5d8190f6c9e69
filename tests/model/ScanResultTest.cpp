#include "model/ScanResult.hpp"

#include "support/TreeBuilder.hpp"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace dorvale {
namespace {

using Buckets = std::map<StorageBucket, std::int64_t>;
using Kinds = std::map<FileKind, std::int64_t>;

// /r holding Movies (bucket Video: 4,096 bytes of its own, trip.mov of 1,000,000 and a small
// file of 10,000) and notes.pdf of 500,000, so 1,514,096 bytes in all.
struct Tree {
    Tree() {
        FileNode* folder =
            builder.folder(builder.root(), "Movies", {.bucket = StorageBucket::Video}, 4'096);
        trip = builder.file(folder, "trip.mov", 1'000'000);
        builder.smallFile(folder, 10'000);
        notes = builder.file(builder.root(), "notes.pdf", 500'000);
        movies = folder;
        result = builder.finish();
    }

    test::TreeBuilder builder{"/r"};
    const FileNode* movies = nullptr;
    const FileNode* trip = nullptr;
    const FileNode* notes = nullptr;
    ScanResult result;
};

TEST(ScanResultMarkDeleted, TakesAFolderAndWhatIsInsideItOffOnceInEitherOrder) {
    struct Case {
        const char* what;
        const FileNode* Tree::*first;
        const FileNode* Tree::*second;
        bool secondChanges;
    };
    for (const Case& c : {
             Case{"folder, then a file inside it", &Tree::movies, &Tree::trip, false},
             Case{"file, then its folder", &Tree::trip, &Tree::movies, true},
             Case{"the folder twice", &Tree::movies, &Tree::movies, false},
         }) {
        Tree tree;
        ASSERT_EQ(tree.result.root->size(), 1'514'096);

        EXPECT_TRUE(tree.result.markDeleted(*(tree.*c.first))) << c.what;
        EXPECT_EQ(tree.result.markDeleted(*(tree.*c.second)), c.secondChanges) << c.what;

        const FileNode& root = *tree.result.root;
        EXPECT_EQ(root.size(), 500'000) << c.what;
        EXPECT_EQ(root.logicalSize(), 500'000) << c.what;
        EXPECT_EQ(root.fileCount(), 1) << c.what;
        EXPECT_TRUE(tree.movies->deleted() && tree.trip->deleted()) << c.what;
        EXPECT_FALSE(root.deleted() || tree.notes->deleted()) << c.what;
        EXPECT_EQ(tree.result.bucketTotals,
                  (Buckets{{StorageBucket::Documents, 500'000}, {StorageBucket::Video, 0}}))
            << c.what;
        // The small file's kind is not kept in the tree, so it stays counted under it.
        EXPECT_EQ(
            tree.result.kindTotals,
            (Kinds{{FileKind::Document, 500'000}, {FileKind::Video, 0}, {FileKind::Other, 10'000}}))
            << c.what;
        EXPECT_EQ(tree.result.kindCounts,
                  (Kinds{{FileKind::Document, 1}, {FileKind::Video, 0}, {FileKind::Other, 1}}))
            << c.what;
        EXPECT_EQ(tree.result.totalFiles, 3) << c.what;
    }
}

TEST(ScanResultMarkDeleted, TheRootTakesEverythingAndANodeOfAnotherTreeNothing) {
    Tree tree;
    Tree other;

    EXPECT_FALSE(tree.result.markDeleted(*other.trip));
    EXPECT_FALSE(other.trip->deleted());
    EXPECT_EQ(tree.result.root->size(), 1'514'096);
    EXPECT_EQ(tree.result.bucketTotals.at(StorageBucket::Video), 1'014'096);

    EXPECT_TRUE(tree.result.markDeleted(*tree.result.root));
    EXPECT_TRUE(tree.movies->deleted() && tree.trip->deleted() && tree.notes->deleted());
    EXPECT_FALSE(tree.result.markDeleted(*tree.notes));
    EXPECT_EQ(tree.result.bucketTotals,
              (Buckets{{StorageBucket::Documents, 0}, {StorageBucket::Video, 0}}));
}

} // namespace
} // namespace dorvale
