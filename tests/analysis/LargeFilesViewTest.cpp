#include "analysis/LargeFilesView.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/FilesModel.hpp"
#include "analysis/FilesTable.hpp"
#include "common/ScanPage.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

constexpr double now = 1'700'000'000;
constexpr double day = 86'400;

// Files around the 1 MiB and 30-day edges, one folder that will be deleted whole.
struct Scan {
    explicit Scan(AnalysisFixture& f) {
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* old = builder.folder(builder.root(), "Old");
        exactMiB = builder.file(old, "exact.bin", 1'048'576, {.modified = now - 30 * day});
        below = builder.file(old, "below.bin", 1'048'575, {.modified = now - 30 * day + 1});
        FileNode* doomed = builder.folder(builder.root(), "Doomed");
        inside = builder.file(doomed, "inside.mov", 50'000'000, {.modified = now});
        big = builder.file(builder.root(), "big.iso", 900'000'000, {.modified = now - 400 * day});
        folder = doomed;
        scan = f.publish(builder);
    }

    std::shared_ptr<ScanResult> scan;
    const FileNode* exactMiB;
    const FileNode* below;
    const FileNode* inside;
    const FileNode* big;
    const FileNode* folder;
};

struct Screen {
    explicit Screen(AnalysisFixture& f)
        : page(f.show(LargeFilesView::makePage(*f.state, {}), {1100, 700})) {}

    [[nodiscard]] LargeFilesView* view() const {
        return qobject_cast<LargeFilesView*>(static_cast<ScanPage*>(page)->content());
    }
    [[nodiscard]] std::vector<const FileNode*> listed() const { return view()->listing().nodes; }
    [[nodiscard]] QString summary() const {
        return page->findChild<ElidedLabel*>(QStringLiteral("resultSummary"))->text();
    }

    QWidget* page;
};

} // namespace

class LargeFilesViewTest : public QObject {
    Q_OBJECT

private slots:
    void listsLiveFilesInWalkOrderAtTheEdges() {
        AnalysisFixture f;
        Screen s(f);
        QVERIFY(!s.view());
        const Scan scan(f);
        QVERIFY(s.view());
        QCOMPARE(s.listed(), (std::vector{scan.exactMiB, scan.below, scan.inside, scan.big}));
        QCOMPARE(s.page->findChild<QComboBox*>(QStringLiteral("sizeMenu"))->currentText(),
                 "Any size");
        f.state->setLargeFilter({.minSize = 1'048'576, .modifiedOlderThanDays = 30});
        QCOMPARE(s.listed(), (std::vector{scan.exactMiB, scan.big}));
        QCOMPARE(s.page->findChild<QComboBox*>(QStringLiteral("sizeMenu"))->currentText(),
                 "> 1 MB");
        QCOMPARE(s.page->findChild<QComboBox*>(QStringLiteral("ageMenu"))->currentText(),
                 "Unchanged > 1 month");
        f.state->setLargeFilter({.query = "nothing matches"});
        QVERIFY(s.listed().empty());
        QCOMPARE(s.summary(), "0 files · Zero KB");
    }

    void filesInADeletedFolderLeaveTheListAndTheExport() {
        AnalysisFixture f;
        const Scan scan(f);
        Screen s(f);
        s.view()->table().setNodes(scan.scan, s.listed());
        f.state->removeDeleted({scan.folder->path()});
        QCOMPARE(s.listed(), (std::vector{scan.exactMiB, scan.below, scan.big}));
        QCOMPARE(s.view()->table().model().rowCount(), 3);
        QVERIFY(s.summary().startsWith("3 files"));
        // Sorted by name in the table, exported in walk order.
        s.view()->table().model().sort(FilesModel::Name, Qt::AscendingOrder);
        const std::string target = f.fixture.tree.path("large.csv");
        f.fixture.fileDialogs.queueSaveFile(target);
        QTest::mouseClick(s.page->findChild<QPushButton*>(QStringLiteral("exportButton")),
                          Qt::LeftButton);
        QCOMPARE(f.fixture.fileDialogs.suggestedNames(), std::vector<std::string>{"Dorvale-files"});
        QFile file(QString::fromStdString(target));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[1].startsWith("\"/Users/a/Old/exact.bin\""));
        QVERIFY(lines[2].startsWith("\"/Users/a/Old/below.bin\""));
        QVERIFY(lines[3].startsWith("\"/Users/a/big.iso\""));
    }
};

DORVALE_QT_TEST(LargeFilesViewTest)

} // namespace dorvale

#include "LargeFilesViewTest.moc"
