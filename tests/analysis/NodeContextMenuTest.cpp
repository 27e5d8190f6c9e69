#include "analysis/NodeContextMenu.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/PreviewBinding.hpp"
#include "support/qt/QtTests.hpp"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

QStringList actionNames(const QMenu& menu) {
    QStringList names;
    for (const QAction* action : menu.actions()) {
        names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    }
    return names;
}

QAction* action(const QMenu& menu, const char* name) {
    auto* found = menu.findChild<QAction*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no action %s", name);
    }
    return found;
}

// A home scan holding a plain file, a folder and an application bundle.
struct Home {
    explicit Home(AnalysisFixture& f) {
        test::TreeBuilder builder = f.homeBuilder();
        file = builder.file(builder.root(), "movie.mov", 2'000'000);
        FileNode* projects = builder.folder(builder.root(), "Projects");
        inner = builder.file(projects, "notes.txt", 1'000'000);
        FileNode* tool = builder.folder(builder.root(), "Tool.app");
        builder.file(tool, "binary", 500'000);
        folder = projects;
        package = tool;
        scan = f.publish(builder);
    }

    std::shared_ptr<ScanResult> scan;
    const FileNode* file;
    const FileNode* folder;
    const FileNode* inner;
    const FileNode* package;
};

} // namespace

class NodeContextMenuTest : public QObject {
    Q_OBJECT

private slots:
    void entriesDependOnTheFirstNodeAndThePreview() {
        AnalysisFixture f;
        const Home home(f);
        PreviewBinding preview;
        const QStringList tail = {"copyPathAction", "|", "excludeAction", "|", "deleteAction"};
        const std::vector<std::tuple<const FileNode*, PreviewBinding*, QStringList>> cases = {
            {home.file, &preview,
             QStringList{"quickLookAction", "revealAction", "openAction"} + tail},
            {home.file, nullptr, QStringList{"revealAction", "openAction"} + tail},
            {home.folder, &preview,
             QStringList{"revealAction", "openAction", "openInExplorerAction"} + tail},
            {home.package, &preview,
             QStringList{"quickLookAction", "revealAction", "openAction", "openInExplorerAction"} +
                 tail},
        };
        for (const auto& [node, binding, expected] : cases) {
            QMenu menu;
            NodeContextMenu(*f.state, home.scan, {node}, binding).populate(menu);
            QCOMPARE(actionNames(menu), expected);
            QCOMPARE(action(menu, "deleteAction")->text(), "Delete…");
        }
        QMenu empty;
        NodeContextMenu(*f.state, home.scan, {}, &preview).populate(empty);
        QVERIFY(empty.actions().isEmpty());
    }

    void singleEntriesActOnTheFirstNodeAndDeleteOnAll() {
        AnalysisFixture f;
        const Home home(f);
        PreviewBinding preview;
        QMenu menu;
        NodeContextMenu(*f.state, home.scan, {home.file, home.inner, home.package}, &preview)
            .populate(menu);
        QCOMPARE(action(menu, "deleteAction")->text(), "Delete 3 Items…");
        action(menu, "revealAction")->trigger();
        action(menu, "openAction")->trigger();
        action(menu, "quickLookAction")->trigger();
        QCOMPARE(f.fixture.workspace.revealed(),
                 std::vector<std::vector<std::string>>{{home.file->path()}});
        QCOMPARE(f.fixture.workspace.opened(), std::vector<std::string>{home.file->path()});
        QVERIFY(preview.item().has_value());
        QCOMPARE(preview.item()->path, home.file->path());
        action(menu, "deleteAction")->trigger();
        // The package's verdict reads the disk, so the plan opens once it is computed.
        QTRY_VERIFY(f.state->plan().has_value());
        QCOMPARE(f.state->plan()->title, "Delete Items");
        const auto& items = f.state->plan()->items;
        QCOMPARE(items.size(), 3U);
        QCOMPARE(items[0].path, home.file->path());
        QCOMPARE(items[1].path, home.inner->path());
        QCOMPARE(items[1].name, "notes.txt");
        QCOMPARE(items[2].removal, Removal::Trash);
        QCOMPARE(items[2].verdict, f.fixture.safety.verdict(home.package->path()));
    }

    void openInExplorerShowsTheFolderBelowItsAncestors() {
        AnalysisFixture f;
        const Home home(f);
        QMenu menu;
        NodeContextMenu(*f.state, home.scan, {home.folder}).populate(menu);
        action(menu, "openInExplorerAction")->trigger();
        QCOMPARE(f.state->explorerStack(),
                 (std::vector<const FileNode*>{home.scan->root, home.folder}));
        QCOMPARE(f.state->section(), AppSection::Explorer);
    }

    void copiedPathsDropTheDataVolumeAndKeepTheHomeWrittenOut() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.builderAt("");
        FileNode* users = builder.folder(builder.root(), "Users");
        FileNode* home = builder.folder(users, "a");
        FileNode* movie = builder.file(home, "movie.mov", 1'000'000);
        const auto scan = f.publish(builder, ScanTarget::wholeDisk());
        const std::vector<std::pair<const FileNode*, QString>> cases = {
            {scan->root, "/"},
            {movie, "/Users/a/movie.mov"},
        };
        for (const auto& [node, expected] : cases) {
            QMenu menu;
            NodeContextMenu(*f.state, scan, {node}).populate(menu);
            action(menu, "copyPathAction")->trigger();
            QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        }
    }

    void excludingTwiceKeepsBothAndALineFeedIsNeverStored() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* cache = builder.folder(builder.root(), "Cache");
        builder.file(cache, "blob", 1'000'000);
        FileNode* odd = builder.folder(builder.root(), "two\nlines");
        const auto scan = f.publish(builder);
        for (int i = 0; i < 2; ++i) {
            QMenu menu;
            NodeContextMenu(*f.state, scan, {cache}).populate(menu);
            action(menu, "excludeAction")->trigger();
        }
        QMenu menu;
        NodeContextMenu(*f.state, scan, {odd}).populate(menu);
        action(menu, "excludeAction")->trigger();
        const std::string matching =
            std::string(matchingPath(cache->path(), f.fixture.locations.dataVolume));
        QCOMPARE(f.state->excludedPaths(), (std::vector<std::string>{matching, matching}));
    }

    void aMenuOfAReplacedScanChangesNothing() {
        AnalysisFixture f;
        const Home home(f);
        QMenu menu;
        NodeContextMenu(*f.state, home.scan, {home.folder}).populate(menu);
        test::TreeBuilder next = f.homeBuilder();
        next.file(next.root(), "other.mov", 1'000'000);
        f.publish(next);
        action(menu, "deleteAction")->trigger();
        action(menu, "openInExplorerAction")->trigger();
        QVERIFY(!f.state->plan().has_value());
        QCOMPARE(f.state->explorerStack().size(), 1U);
        QVERIFY(f.state->explorerStack().front() != home.scan->root);
    }
};

DORVALE_QT_TEST(NodeContextMenuTest)

} // namespace dorvale

#include "NodeContextMenuTest.moc"
