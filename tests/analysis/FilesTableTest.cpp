#include "analysis/FilesTable.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/FilesModel.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/SelectionBar.hpp"

#include <QAbstractItemModelTester>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

// Files of several kinds, names and dates in a home scan.
struct Files {
    explicit Files(AnalysisFixture& f) {
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* docs = builder.folder(builder.root(), "Documents");
        makefile = builder.file(docs, "Makefile", 3'000'000,
                                {.modified = 1'600'000'000, .accessed = 1'690'000'000});
        report = builder.file(docs, "report.PDF", 9'000'000,
                              {.modified = 1'699'000'000, .accessed = 1'000'000});
        archive = builder.file(builder.root(), "archive.tar.gz", 5'000'000,
                               {.modified = 86'400, .accessed = 1'650'000'000});
        dotted = builder.file(builder.root(), ".hidden.", 1'000'000, {.modified = 86'401});
        scan = f.publish(builder);
        all = {makefile, report, archive, dotted};
    }

    std::shared_ptr<ScanResult> scan;
    const FileNode* makefile;
    const FileNode* report;
    const FileNode* archive;
    const FileNode* dotted;
    std::vector<const FileNode*> all;
};

struct Table {
    explicit Table(AnalysisFixture& f)
        : table(f.show(new FilesTable(*f.state, {}), {1000, 600}))
        , view(&table->table())
        , model(&table->model()) {}

    [[nodiscard]] QString cell(const FileNode* node, int column, int role = Qt::DisplayRole) const {
        return model->index(model->rowOf(node), column).data(role).toString();
    }
    [[nodiscard]] std::vector<const FileNode*> order() const {
        std::vector<const FileNode*> nodes;
        for (int row = 0; row < model->rowCount(); ++row) {
            nodes.push_back(model->keyAt(row));
        }
        return nodes;
    }
    void select(std::initializer_list<const FileNode*> nodes) const {
        for (const FileNode* node : nodes) {
            view->selectionModel()->select(model->index(model->rowOf(node), 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    [[nodiscard]] SelectionBar* bar() const {
        return table->findChild<SelectionBar*>(QStringLiteral("selectionBar"));
    }

    FilesTable* table;
    QTableView* view;
    FilesModel* model;
};

} // namespace

class FilesTableTest : public QObject {
    Q_OBJECT

private slots:
    void cellsShowKindsDatesAndPaths() {
        AnalysisFixture f;
        const Files files(f);
        Table t(f);
        t.table->setNodes(files.scan, files.all);
        const struct {
            const FileNode* node;
            QString kind;
            QString modified;
        } cases[] = {
            {files.makefile, "Other", "Sep 13, 2020"},
            {files.report, "PDF", "Nov 3, 2023"},
            {files.archive, "GZ", "—"},
            {files.dotted, "Other", "Jan 2, 1970"},
        };
        for (const auto& c : cases) {
            QCOMPARE(t.cell(c.node, FilesModel::Kind), c.kind);
            QCOMPARE(t.cell(c.node, FilesModel::Modified), c.modified);
        }
        // The later of the two dates is shown.
        QCOMPARE(t.cell(files.report, FilesModel::LastOpened), "last week");
        QCOMPARE(t.cell(files.makefile, FilesModel::Name, DetailRole), "~/Documents");
        QCOMPARE(t.cell(files.makefile, FilesModel::Name, Qt::ToolTipRole),
                 QString::fromStdString("/Users/a/Documents/Makefile"));
        QCOMPARE(t.model->index(0, FilesModel::Size).data(LargestSizeRole).toLongLong(), 9'000'000);
    }

    void kindSortsByTitleAndLastOpenedByAccess() {
        AnalysisFixture f;
        const Files files(f);
        Table t(f);
        t.table->setNodes(files.scan, files.all);
        QAbstractItemModelTester tester(t.model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(t.order(),
                 (std::vector{files.report, files.archive, files.makefile, files.dotted}));
        t.model->sort(FilesModel::Kind, Qt::AscendingOrder);
        // Archives, Documents, then the two of Other by size, the previous key.
        QCOMPARE(t.order(),
                 (std::vector{files.archive, files.report, files.makefile, files.dotted}));
        t.model->sort(FilesModel::LastOpened, Qt::DescendingOrder);
        QCOMPARE(t.order(),
                 (std::vector{files.makefile, files.archive, files.report, files.dotted}));
        t.model->sort(FilesModel::Risk, Qt::AscendingOrder);
        QCOMPARE(t.model->sortKeys().front().column, int(FilesModel::LastOpened));
        t.table->setNodes(files.scan, {});
        QCOMPARE(t.model->rowCount(), 0);
    }

    void spacePreviewsTheFirstSelectedRowInDisplayOrder() {
        AnalysisFixture f;
        const Files files(f);
        Table t(f);
        t.table->setNodes(files.scan, files.all);
        QTest::keyClick(t.view, Qt::Key_Space);
        QVERIFY(!t.table->preview().item());
        t.select({files.dotted, files.archive});
        QTest::keyClick(t.view, Qt::Key_Space);
        QCOMPARE(t.table->preview().item()->path, files.archive->path());
        QTest::keyClick(t.view, Qt::Key_Return);
        QCOMPARE(f.fixture.workspace.revealed(),
                 std::vector<std::vector<std::string>>{{files.archive->path()}});
    }

    void aNarrowedListPrunesTheSelectionAndTheBar() {
        AnalysisFixture f;
        const Files files(f);
        Table t(f);
        t.table->setNodes(files.scan, files.all);
        t.select({files.report, files.archive});
        QCOMPARE(t.bar()->count(), 2);
        t.table->setNodes(files.scan, {files.report, files.makefile});
        QCOMPARE(t.table->selectedNodes(), std::vector{files.report});
        QCOMPARE(t.bar()->count(), 1);
        // A pruned node does not come back selected with its row.
        t.table->setNodes(files.scan, files.all);
        QCOMPARE(t.table->selectedNodes(), std::vector{files.report});
        emit t.bar()->actionRequested();
        QVERIFY(f.state->plan());
        QCOMPARE(f.state->plan()->items.size(), 1U);
    }

    void theSameListKeepsTheOrderAndAnEmptyListDrawsNoBar() {
        AnalysisFixture f;
        const Files files(f);
        Table t(f);
        t.table->setNodes(files.scan, files.all);
        t.model->sort(FilesModel::Name, Qt::AscendingOrder);
        QSignalSpy resets(t.model, &QAbstractItemModel::modelReset);
        t.table->setNodes(files.scan, files.all);
        QCOMPARE(resets.count(), 0);
        const std::vector<const FileNode*> none;
        t.table->setNodes(files.scan, none);
        QCOMPARE(t.model->rowCount(), 0);
        QVERIFY(!t.bar()->isVisible());
    }
};

DORVALE_QT_TEST(FilesTableTest)

} // namespace dorvale

#include "FilesTableTest.moc"
