#include "cleanup/DeveloperView.hpp"

#include "cleanup/CleanupPagesFixture.hpp"
#include "cleanup/DevItemsModel.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/SelectionBar.hpp"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::CleanupPagesFixture;
using test::find;
using test::TreeBuilder;

constexpr std::int64_t MB = 1'000'000;

// A home folder with two projects: one whose dependencies occupy 30 MB on disk (holding
// less), and one whose dependencies hold 40 MB but occupy only 15.
std::shared_ptr<ScanResult> projects(const CleanupPagesFixture& f) {
    TreeBuilder builder(f.locations().home);
    FileNode* web = builder.folder(builder.root(), "web", {.modified = 1'690'000'000});
    builder.file(builder.folder(web, "node_modules"), "bundle.js", 30 * MB,
                 {.logicalSize = 10 * MB});
    FileNode* sparse = builder.folder(builder.root(), "sparse");
    builder.file(builder.folder(sparse, "node_modules"), "image.bin", 15 * MB,
                 {.logicalSize = 40 * MB});
    return std::make_shared<ScanResult>(builder.finish());
}

QStringList titles(const QAbstractItemModel& model) {
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row) {
        values << model.index(row, DevItemsModel::Item).data().toString();
    }
    return values;
}

} // namespace

class DeveloperViewTest : public QObject {
    Q_OBJECT

private slots:
    // Without junk findings the page starts the junk search; with them it does not.
    void searchesJunkOnlyWithoutFindings() {
        for (const bool findings : {false, true}) {
            CleanupPagesFixture f;
            f.shell.makeState();
            if (findings) {
                test::AppStateAccess(f.state()).setJunk(
                    {f.junk.finding(f.locations(), "user-caches", 1, 10)});
            }
            f.shell.show(new DeveloperView(f.state()));
            QCOMPARE(f.state().junkLoading(), !findings);
            QTRY_VERIFY(!f.state().junkLoading());
            QCOMPARE(f.junk.scans(), findings ? 0 : 1);
        }
    }

    // Before a scan the note shows above the developer junk items; a scan adds its
    // artefact folders above 20 MB on disk and takes the note away.
    void junkRowsWithoutAScanThenTheTreesFolders() {
        CleanupPagesFixture f;
        f.junk.answer({test::ChosenJunk::finding(f.locations(), "xcode-derived", 2, 5 * MB),
                       test::ChosenJunk::finding(f.locations(), "user-caches", 3, MB)});
        auto* view = f.show<DeveloperView>();
        auto* note = find<QWidget>(view, "scanNote");
        QVERIFY(note->isVisible());
        QTRY_COMPARE(view->model().rowCount(), 2);
        QAbstractItemModelTester tester(find<QTableView>(view, "developerTable")->model(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(titles(view->model()),
                 (QStringList{"Xcode · DerivedData · item-0", "Xcode · DerivedData · item-1"}));

        test::AppStateAccess(f.state()).setScan(projects(f), ScanTarget::home());
        QVERIFY(!note->isVisible());
        QCOMPARE(titles(view->model()),
                 (QStringList{"web / node_modules", "Xcode · DerivedData · item-0",
                              "Xcode · DerivedData · item-1"}));
        QCOMPARE(view->model().index(0, DevItemsModel::Item).data(DetailRole).toString(),
                 QStringLiteral("~/web/node_modules"));
        QCOMPARE(view->model().index(0, DevItemsModel::WhatItIs).data().toString(),
                 QStringLiteral("Node dependencies. `npm install` restores them."));
    }

    // The selection is kept by path across a sort, the plan follows the new order, and
    // each item keeps its own way of removal.
    void planFollowsTheShownOrderAndEachRemoval() {
        CleanupPagesFixture f;
        f.junk.answer({test::ChosenJunk::finding(f.locations(), "xcode-archives", 1, 8 * MB)});
        auto* view = f.show<DeveloperView>();
        test::AppStateAccess(f.state()).setScan(projects(f), ScanTarget::home());
        QTRY_COMPARE(view->model().rowCount(), 2);
        auto* table = find<QTableView>(view, "developerTable");
        table->selectAll();
        auto* bar = find<SelectionBar>(view, "selectionBar");
        QCOMPARE(bar->count(), 2);
        table->horizontalHeader()->setSortIndicator(DevItemsModel::Size, Qt::AscendingOrder);
        QCOMPARE(titles(view->model()),
                 (QStringList{"Xcode · Archives · item-0", "web / node_modules"}));
        QCOMPARE(table->selectionModel()->selectedRows().size(), 2);
        find<QPushButton>(bar, "selectionAction")->click();
        QTRY_VERIFY(f.state().plan());
        const DeletionPlan& plan = *f.state().plan();
        QCOMPARE(plan.title, QStringLiteral("Clean Developer Artifacts"));
        QCOMPARE(plan.items.size(), std::size_t{2});
        QCOMPARE(plan.items[0].name, std::string("Xcode · Archives · item-0"));
        QCOMPARE(plan.items[0].removal, Removal::Trash);
        QCOMPARE(plan.items[1].name, std::string("web / node_modules"));
        QCOMPARE(plan.items[1].removal, Removal::Permanent);
        QCOMPARE(plan.items[1].size, 30 * MB);
        QCOMPARE(view->list().selection().keys().size(), std::size_t{2});
    }
};

DORVALE_QT_TEST(DeveloperViewTest)

} // namespace dorvale

#include "DeveloperViewTest.moc"
