#include "analysis/AnalysisFixture.hpp"
#include "analysis/ExplorerModel.hpp"
#include "app/RunInBackground.hpp"
#include "support/app/Gate.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/NameRanks.hpp"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace dorvale {

namespace {

using test::AnalysisFixture;

QStringList names(const ExplorerModel& model) {
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row) {
        shown << model.index(row, ExplorerModel::Name).data().toString();
    }
    return shown;
}

// An application in `parent`, which lies at `folder` in the home folder: a node of the tree,
// and a bundle on the fixture's disk, as its verdict reads it.
FileNode* addApplication(AnalysisFixture& f, test::TreeBuilder& builder, FileNode* parent,
                         const std::string& folder, const std::string& name,
                         const std::string& identifier) {
    f.fixture.tree.file("Users/a/" + folder + name + "/Contents/Info.plist",
                        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                        "<key>CFBundleIdentifier</key><string>" +
                            identifier + "</string></dict></plist>");
    FileNode* application = builder.folder(parent, name);
    builder.file(application, "binary", 5000);
    return application;
}

} // namespace

class NodeRowsModelTest : public QObject {
    Q_OBJECT

private slots:
    // Each click makes its column the first key; the earlier keys break its ties in the
    // order they were clicked, and the folder's order breaks the rest, whichever the
    // direction. "D" and "d" are one name to the language's order.
    void sortsBySeveralKeys() {
        struct Click {
            int column;
            Qt::SortOrder order;
            QStringList shown;
        };
        using M = ExplorerModel;
        const std::vector<Click> clicks = {
            {M::Size, Qt::AscendingOrder, {"D", "B2", "d", "c", "b10", "a"}},
            {M::Name, Qt::AscendingOrder, {"a", "B2", "b10", "c", "D", "d"}},
            {M::Name, Qt::DescendingOrder, {"D", "d", "c", "b10", "B2", "a"}},
            {M::Modified, Qt::DescendingOrder, {"D", "d", "b10", "B2", "c", "a"}},
            {M::Size, Qt::DescendingOrder, {"b10", "a", "c", "D", "d", "B2"}},
            {M::Modified, Qt::AscendingOrder, {"a", "c", "b10", "B2", "D", "d"}},
            {M::Risk, Qt::DescendingOrder, {"a", "c", "b10", "B2", "D", "d"}},
        };
        for (const bool ranked : {false, true}) {
            AnalysisFixture f;
            test::TreeBuilder builder = f.homeBuilder();
            builder.file(builder.root(), "b10", 3000, {.modified = 200'000});
            builder.file(builder.root(), "D", 1000, {.modified = 300'000});
            builder.file(builder.root(), "B2", 1000, {.modified = 200'000});
            builder.file(builder.root(), "a", 3000, {.modified = 100'000});
            builder.file(builder.root(), "d", 1000, {.modified = 300'000});
            builder.file(builder.root(), "c", 2000, {.modified = 100'000});
            const auto scan = f.publish(builder);
            ExplorerModel model(f.state->services().safety);
            QAbstractItemModelTester tester(&model,
                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
            if (ranked) {
                model.setNameRanks(std::make_shared<const NameRanks>(
                    NameRanks::ofNames(NameRanks::namesOf(*scan))));
            }
            model.setFolder(scan, scan->root);
            QCOMPARE(names(model), (QStringList{"b10", "a", "c", "D", "B2", "d"}));
            for (const Click& click : clicks) {
                model.sort(click.column, click.order);
                QCOMPARE(names(model), click.shown);
            }
            // New rows take the order of every key.
            model.refresh();
            QCOMPARE(names(model), clicks.back().shown);
        }
    }

    // An application's verdict reads its bundle and asks for the running applications: the
    // pool makes it while its cell stays empty, and the cells of the risk column change once.
    void anApplicationsVerdictArrivesFromThePool() {
        AnalysisFixture f;
        test::Gate gate;
        std::atomic<bool> askedOnGui = false;
        QThread* gui = QThread::currentThread();
        f.fixture.workspace.holdRunning([&askedOnGui, gui, pass = gate.pass()] {
            if (QThread::currentThread() == gui) {
                askedOnGui = true;
                return;
            }
            pass();
        });
        test::TreeBuilder builder = f.homeBuilder();
        const FileNode* tool =
            addApplication(f, builder, builder.root(), "", "Tool.app", "com.example.Tool");
        FileNode* notes = builder.file(builder.root(), "notes.txt", 1000);
        const auto scan = f.publish(builder);
        ExplorerModel model(f.state->services().safety);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setFolder(scan, scan->root);

        const auto risk = [&model](const FileNode* node) {
            return model.index(model.rowOf(node), ExplorerModel::Risk);
        };
        QCOMPARE(risk(tool).data(), QVariant());
        QCOMPARE(risk(tool).data(RiskRole), QVariant());
        // A lexical verdict is made at once, when asked for.
        QCOMPARE(risk(notes).data().toString(), "Review");
        QTRY_COMPARE(gate.arrivals(), 1);
        QCOMPARE(changed.count(), 0);
        gate.open();
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model.index(0, ExplorerModel::Risk));
        QCOMPARE(changed[0][1].toModelIndex(), model.index(1, ExplorerModel::Risk));
        QCOMPARE(risk(tool).data().toString(), "Review");
        QCOMPARE(risk(tool).data(RiskRole).toInt(), static_cast<int>(Risk::Review));
        QCOMPARE(risk(tool).data(Qt::ToolTipRole).toString(),
                 "Application. Use Uninstall to remove its data too.");
        QVERIFY(!askedOnGui);
    }

    // Rows set again before the answer for the earlier ones came: that answer is dropped, and
    // only the one for the rows shown fills their cells.
    void aVerdictForRowsReplacedSinceIsDropped() {
        AnalysisFixture f;
        f.fixture.workspace.setRunning({"com.example.Open"});
        test::Gate gate;
        f.fixture.workspace.holdRunning(gate.pass());
        test::TreeBuilder builder = f.homeBuilder();
        addApplication(f, builder, builder.root(), "", "Tool.app", "com.example.Tool");
        FileNode* other = builder.folder(builder.root(), "Other");
        const FileNode* open =
            addApplication(f, builder, other, "Other/", "Open.app", "com.example.Open");
        const auto scan = f.publish(builder);
        ExplorerModel model(f.state->services().safety);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setFolder(scan, scan->root);
        model.setFolder(scan, other);
        QTRY_COMPARE(gate.arrivals(), 2);
        gate.open();
        workerPool().waitForDone();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(changed.count(), 1);
        const QModelIndex cell = model.index(model.rowOf(open), ExplorerModel::Risk);
        QCOMPARE(cell.data().toString(), "Protected");
        QCOMPARE(cell.data(Qt::ToolTipRole).toString(),
                 "The app is open. Quit it before removing it.");
    }
};

DORVALE_QT_TEST(NodeRowsModelTest)

} // namespace dorvale

#include "NodeRowsModelTest.moc"
