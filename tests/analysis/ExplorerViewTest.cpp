#include "analysis/ExplorerView.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/ExplorerModel.hpp"
#include "app/ByteText.hpp"
#include "app/SettingsKeys.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/SelectionBar.hpp"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

// A home scan: a folder with a small-files share, a package, files of every age, and more
// than twelve children.
struct Home {
    explicit Home(AnalysisFixture& f) {
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* projects =
            builder.folder(builder.root(), "Projects", {.modified = 1'600'000'000});
        builder.file(projects, "report.pdf", 6'000'000);
        builder.smallFile(projects, 4096);
        FileNode* tool = builder.folder(builder.root(), "Tool.app");
        builder.file(tool, "binary", 5'000'000);
        old = builder.file(builder.root(), "old.bin", 4'000'000, {.modified = 86'400});
        for (int i = 0; i < 12; ++i) {
            builder.file(builder.root(), "file" + std::to_string(i) + ".dat", 1'000'000 + i,
                         {.modified = 1'650'000'000});
        }
        builder.smallFile(builder.root(), 1000);
        builder.smallFile(builder.root(), 2000);
        folder = projects;
        package = tool;
        scan = f.publish(builder);
    }

    std::shared_ptr<ScanResult> scan;
    const FileNode* folder;
    const FileNode* package;
    const FileNode* old;
};

struct Explorer {
    explicit Explorer(AnalysisFixture& f, QSize size = {1000, 700})
        : view(f.show(new ExplorerView(*f.state, f.state->scan(), {}), size))
        , table(view->findChild<QTableView*>(QStringLiteral("explorerTable")))
        , model(static_cast<ExplorerModel*>(table->model())) {}

    [[nodiscard]] QString text(const char* name) const {
        return view->findChild<ElidedLabel*>(QString::fromLatin1(name))->text();
    }
    [[nodiscard]] int rowOf(const FileNode* node) const { return model->rowOf(node); }
    [[nodiscard]] QString cell(const FileNode* node, int column) const {
        return model->index(rowOf(node), column).data().toString();
    }
    void select(std::initializer_list<const FileNode*> nodes) const {
        for (const FileNode* node : nodes) {
            table->selectionModel()->select(model->index(rowOf(node), 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        }
    }
    void doubleClick(const FileNode* node) const {
        const QRect rect = table->visualRect(model->index(rowOf(node), 0));
        // As the window system sends it: a click, then the second press as a double click.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, rect.center());
    }
    [[nodiscard]] SelectionBar* bar() const {
        return view->findChild<SelectionBar*>(QStringLiteral("selectionBar"));
    }

    ExplorerView* view;
    QTableView* table;
    ExplorerModel* model;
};

} // namespace

class ExplorerViewTest : public QObject {
    Q_OBJECT

private slots:
    void theRootIsTitledByWhatWasScanned() {
        const std::vector<std::pair<ScanTarget, QString>> cases = {
            {ScanTarget::wholeDisk(), "Entire disk"},
            {ScanTarget::home(), "Home folder"},
            {ScanTarget::folder("/somewhere/Work"), "Work"},
        };
        for (const auto& [target, title] : cases) {
            AnalysisFixture f;
            test::TreeBuilder builder = f.homeBuilder();
            FileNode* inner = builder.folder(builder.root(), "Inner");
            builder.file(inner, "a.mov", 1'000'000);
            f.publish(builder, target);
            Explorer e(f);
            QCOMPARE(e.text("folderTitle"), title);
            // Asking for another scan does not rename what is shown.
            f.state->startScan(ScanTarget::folder("/elsewhere/Other"));
            QCOMPARE(e.text("folderTitle"), title);
            e.view->changeFolder(f.state->scan()->root->children()[0]);
            QCOMPARE(e.text("folderTitle"), "Inner");
        }
    }

    void theHeaderShowsTheTwelveLargestInListModeOnly() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        auto* bar = e.view->findChild<SegmentedBar*>(QStringLiteral("compositionBar"));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->segments().size(), 12U);
        QCOMPARE(bar->segments().front().title, "Projects");
        QCOMPARE(e.text("folderSize"), byteText(home.scan->root->size()));
        QCOMPARE(e.text("folderFiles"), QStringLiteral("18 files"));
        QCOMPARE(e.text("smallFilesCaption"), "Also: 2 small files directly in this folder · 3 KB");
        e.view->setMode(ExplorerMode::Map);
        QVERIFY(!bar->isVisible());
    }

    void deletedChildrenLeaveTheListAndTheBar() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        const int rows = e.model->rowCount();
        f.state->removeDeleted({home.folder->path()});
        QCOMPARE(e.model->rowCount(), rows - 1);
        QCOMPARE(e.rowOf(home.folder), -1);
        const auto segments =
            e.view->findChild<SegmentedBar*>(QStringLiteral("compositionBar"))->segments();
        QVERIFY(std::none_of(segments.begin(), segments.end(),
                             [](const Segment& s) { return s.title == "Projects"; }));
    }

    void aDeletedFolderGivesWayToItsDeepestLiveAncestor() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* a = builder.folder(builder.root(), "a");
        FileNode* b = builder.folder(a, "b");
        builder.file(b, "x.bin", 1'000'000);
        builder.file(a, "y.bin", 2'000'000);
        const auto scan = f.publish(builder);
        Explorer e(f);
        f.state->setExplorerStack({scan->root, a, b});
        QCOMPARE(e.text("folderTitle"), "b");
        f.state->removeDeleted({b->path()});
        QCOMPARE(e.view->currentFolder(), a);
        QCOMPARE(e.text("folderTitle"), "a");
        QCOMPARE(e.model->rowCount(), 1);
    }

    void filesAndUnknownDatesShowADash() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        QCOMPARE(e.cell(home.old, ExplorerModel::Files), "—");
        QCOMPARE(e.cell(home.old, ExplorerModel::Modified), "—");
        QCOMPARE(e.cell(home.folder, ExplorerModel::Files), "2");
        QCOMPARE(e.cell(home.folder, ExplorerModel::Modified), "Sep 13, 2020");
    }

    void spaceTogglesThePreviewOfTheFirstSelectedRow() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        QTest::keyClick(e.table, Qt::Key_Space);
        QVERIFY(!e.view->preview().item());
        e.select({home.old, home.package});
        QTest::keyClick(e.table, Qt::Key_Space);
        QVERIFY(e.view->preview().item());
        QCOMPARE(e.view->preview().item()->path, home.package->path());
        QTest::keyClick(e.table, Qt::Key_Space);
        QVERIFY(!e.view->preview().item());
    }

    void doubleClickRevealsAPackageAndOpensAFolder() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        e.doubleClick(home.package);
        QCOMPARE(f.fixture.workspace.revealed(),
                 std::vector<std::vector<std::string>>{{home.package->path()}});
        QCOMPARE(f.state->explorerStack().size(), 1U);
        e.select({home.old});
        e.doubleClick(home.folder);
        QCOMPARE(f.state->explorerStack().back(), home.folder);
        QVERIFY(e.view->selectedNodes().empty());
        QCOMPARE(e.model->rowCount(), 1);
    }

    void deleteAsksForTheSelectedRowsInRowOrder() {
        AnalysisFixture f;
        const Home home(f);
        Explorer e(f);
        e.select({home.old, home.folder});
        QCOMPARE(e.bar()->count(), 2);
        e.bar()->actionRequested();
        QVERIFY(f.state->plan().has_value());
        QCOMPARE(f.state->plan()->title, "Delete Items");
        const auto& items = f.state->plan()->items;
        QCOMPARE(items.size(), 2U);
        QCOMPARE(items[0].path, home.folder->path());
        QCOMPARE(items[1].path, home.old->path());
        for (const auto& item : items) {
            QCOMPARE(item.removal, Removal::Trash);
            QCOMPARE(item.verdict, f.fixture.safety.verdict(item.path));
        }
    }

    void theModeIsStoredAndAnUnknownOneReadsAsList() {
        AnalysisFixture f;
        const Home home(f);
        f.fixture.settings.setText(SettingsKeys::explorerMode, "pie");
        {
            Explorer e(f);
            QCOMPARE(e.view->mode(), ExplorerMode::List);
            e.select({home.old});
            QTest::mouseClick(e.view->findChild<QWidget*>(QStringLiteral("mapModeButton")),
                              Qt::LeftButton);
            // The selection and its bar stay below the map.
            QVERIFY(e.bar()->isVisible());
            QCOMPARE(e.bar()->count(), 1);
        }
        QCOMPARE(f.state->settingsStore().textValue(SettingsKeys::explorerMode), "map");
        Explorer again(f);
        QCOMPARE(again.view->mode(), ExplorerMode::Map);
    }

    void theModelSortsBySeveralKeysAndKeepsTheSelection() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        builder.file(builder.root(), "b10", 3000, {.modified = 200'000});
        builder.file(builder.root(), "B2", 1000, {.modified = 200'000});
        builder.file(builder.root(), "a", 3000, {.modified = 100'000});
        builder.file(builder.root(), "c", 1000, {.modified = 300'000});
        f.publish(builder);
        Explorer e(f);
        QAbstractItemModelTester tester(e.model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        const auto names = [&e] {
            QStringList shown;
            for (int row = 0; row < e.model->rowCount(); ++row) {
                shown << e.model->index(row, ExplorerModel::Name).data().toString();
            }
            return shown;
        };
        // Size first, ties in the folder's order.
        QCOMPARE(names(), (QStringList{"b10", "a", "B2", "c"}));
        e.select({f.state->scan()->root->children()[2]});
        e.model->sort(ExplorerModel::Name, Qt::AscendingOrder);
        QCOMPARE(names(), (QStringList{"a", "B2", "b10", "c"}));
        // Modified first, then names for its ties.
        e.model->sort(ExplorerModel::Modified, Qt::DescendingOrder);
        QCOMPARE(names(), (QStringList{"c", "B2", "b10", "a"}));
        e.model->sort(ExplorerModel::Risk, Qt::AscendingOrder);
        QCOMPARE(names(), (QStringList{"c", "B2", "b10", "a"}));
        QCOMPARE(e.view->selectedNodes(),
                 std::vector<const FileNode*>{f.state->scan()->root->children()[2]});
        QVERIFY(e.table->selectionModel()->isRowSelected(3, {}));
        f.state->removeDeleted({f.state->scan()->root->children()[0]->path()});
        QCOMPARE(names(), (QStringList{"c", "B2", "a"}));
    }
};

DORVALE_QT_TEST(ExplorerViewTest)

} // namespace dorvale

#include "ExplorerViewTest.moc"
