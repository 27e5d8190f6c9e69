#include "analysis/LargestFolders.hpp"

#include "support/TreeBuilder.hpp"
#include "support/qt/QtTests.hpp"

#include <QStringList>
#include <QtTest>

#include <functional>

namespace dorvale {

namespace {

using test::TreeBuilder;

constexpr std::int64_t mib = 1'048'576;
constexpr std::int64_t gb = 1'000'000'000;
constexpr std::int64_t threshold = 200 * mib;

// A folder holding one file of `bytes`, so the folder weighs that much more than its
// sub-folders.
FileNode* folder(TreeBuilder& tree, FileNode* parent, std::string_view name,
                 std::int64_t bytes = 0) {
    FileNode* made = tree.folder(parent, name);
    if (bytes > 0) {
        tree.file(made, "blob.bin", bytes);
    }
    return made;
}

struct Case {
    const char* what;
    // Builds below the root; returns the nodes to mark deleted once the tree is finished.
    std::function<std::vector<FileNode*>(TreeBuilder&, FileNode* root)> build;
    QStringList listed;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"above 200 MiB, strictly",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             folder(t, a, "exactly", threshold);
             folder(t, a, "above", threshold + 1);
             return std::vector<FileNode*>{};
         },
         {"above"}},
        {"the root's own folders never",
         [](TreeBuilder& t, FileNode* root) {
             folder(t, root, "top", 10 * gb);
             return std::vector<FileNode*>{};
         },
         {}},
        {"nothing below depth 6",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* at = root;
             for (const char* name : {"d1", "d2", "d3", "d4", "d5", "d6"}) {
                 at = folder(t, at, name);
             }
             folder(t, at, "d7", gb);
             return std::vector<FileNode*>{};
         },
         {"d6"}},
        {"a package listed, not entered",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* bundle = folder(t, folder(t, root, "Applications"), "Big.app");
             folder(t, folder(t, bundle, "Contents"), "Resources", gb);
             return std::vector<FileNode*>{};
         },
         {"Big.app"}},
        {"a deleted folder neither listed nor entered",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             FileNode* gone = folder(t, a, "gone", gb);
             folder(t, gone, "inside", gb);
             folder(t, a, "kept", threshold + 1);
             return std::vector<FileNode*>{gone};
         },
         {"kept"}},
        {"a child above 0.7 of its parent takes its place, and the list is sorted again",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             FileNode* parent = folder(t, a, "parent", 2 * gb);
             folder(t, parent, "child", 8 * gb);
             folder(t, a, "other", 9 * gb);
             return std::vector<FileNode*>{};
         },
         {"other", "child"}},
        {"a child of 0.7 or less is left out",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             FileNode* parent = folder(t, a, "parent", 3 * gb);
             folder(t, parent, "exactly", 7 * gb);
             FileNode* second = folder(t, a, "second", 4 * gb);
             folder(t, second, "less", 6 * gb);
             return std::vector<FileNode*>{};
         },
         {"second", "parent"}},
        {"at most nine, the largest",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             for (int i = 0; i < 10; ++i) {
                 folder(t, a, "f" + std::to_string(i), threshold + (i + 1) * mib);
             }
             return std::vector<FileNode*>{};
         },
         {"f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2", "f1"}},
        // The walk takes the last child pushed first.
        {"equal sizes in the order the walk met them",
         [](TreeBuilder& t, FileNode* root) {
             FileNode* a = folder(t, root, "a");
             folder(t, a, "x", threshold + 1);
             folder(t, a, "y", threshold + 1);
             folder(t, a, "z", threshold + 1);
             return std::vector<FileNode*>{};
         },
         {"z", "y", "x"}},
    };
    return table;
}

QStringList names(const std::vector<const FileNode*>& nodes) {
    QStringList list;
    for (const FileNode* node : nodes) {
        list.append(QString::fromUtf8(node->name().data(), qsizetype(node->name().size())));
    }
    return list;
}

} // namespace

class LargestFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void picksTheMostSpecificLargeFolders() {
        for (const Case& c : cases()) {
            TreeBuilder tree("/r");
            const std::vector<FileNode*> deleted = c.build(tree, tree.root());
            ScanResult result = tree.finish();
            for (const FileNode* node : deleted) {
                QVERIFY(result.markDeleted(*node));
            }
            QCOMPARE(names(largestFolders(*result.root)).join(u','), c.listed.join(u','));
        }
    }
};

DORVALE_QT_TEST(LargestFoldersTest)

} // namespace dorvale

#include "LargestFoldersTest.moc"
