#include "cleanup/SystemDataView.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "platform/Formatters.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/StatTile.hpp"
#include "widgets/UsageBar.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace dorvale {

namespace {

const std::vector<std::string> listing = {"listlocalsnapshots", "/"};

struct SystemDataFixture {
    SystemDataFixture() { shell.makeState(); }

    SystemDataView* show(std::function<void()> hold = {}) {
        auto* view = new SystemDataView(*shell.state);
        view->setBeforeWork(std::move(hold));
        shell.show(view, {820, 900});
        return view;
    }
    void snapshotsListed(std::string output) {
        shell.fixture.processes.respond("/usr/bin/tmutil", listing, std::move(output));
    }
    // The size of a piece measured on disk, as if no scan knew it.
    std::int64_t measuredOnDisk(std::string_view id) const {
        for (const SystemDataPart& part : SystemDataPart::measure(
                 shell.fixture.locations,
                 std::vector<std::optional<std::int64_t>>(SystemDataPart::catalogue().size()))) {
            if (part.id == id) {
                return part.size;
            }
        }
        return 0;
    }
    test::FixtureTree& tree() { return shell.fixture.tree; }

    test::ShellFixture shell;
};

QString tileValue(const QWidget& view, const char* name) {
    return view.findChild<StatTile*>(QString::fromLatin1(name))->value();
}

// Each shown piece as "title size".
QStringList shownParts(const QWidget& view) {
    QStringList parts;
    for (const QWidget* row : view.findChildren<QWidget*>(QStringLiteral("partRow"))) {
        if (!row->isHidden()) {
            parts << row->findChild<ElidedLabel*>(QStringLiteral("partTitle"))->text() + " " +
                         row->findChild<ElidedLabel*>(QStringLiteral("partSize"))->text();
        }
    }
    return parts;
}

QStringList shownSnapshots(const QWidget& view) {
    QStringList names;
    for (const QWidget* row : view.findChildren<QWidget*>(QStringLiteral("snapshotRow"))) {
        if (!row->isHidden()) {
            names << row->findChild<ElidedLabel*>(QStringLiteral("snapshotName"))->text();
        }
    }
    return names;
}

bool shown(const QWidget& view, const char* name) {
    return view.findChild<QWidget*>(QString::fromLatin1(name))->isVisible();
}

void waitForLoad(const SystemDataView& view) {
    QTRY_VERIFY(!view.isLoading());
}

} // namespace

class SystemDataViewTest : public QObject {
    Q_OBJECT

private slots:
    void piecesTheScanHoldsTakeTheScansSize() {
        SystemDataFixture data;
        data.tree().allocatedFile("private/var/log/system.log", 8192);
        data.tree().allocatedFile("Library/Caches/shared.db", 4096);
        const std::int64_t logsOnDisk = data.measuredOnDisk("logs");
        const std::int64_t cachesOnDisk = data.measuredOnDisk("caches");

        // A scan of the whole data volume: its root stands for "/".
        test::TreeBuilder disk(data.shell.fixture.locations.dataVolume);
        FileNode* var = disk.folder(disk.folder(disk.root(), "private"), "var");
        disk.file(disk.folder(var, "log"), "system.log", 7'000'000);
        FileNode* caches = disk.folder(disk.folder(disk.root(), "Library"), "Caches");
        disk.file(caches, "shared.db", 3'000'000);
        auto scan = std::make_shared<ScanResult>(disk.finish());
        // A piece deleted through the program since the scan is measured on disk again.
        scan->markDeleted(*caches);
        test::AppStateAccess(*data.shell.state).setScan(scan, ScanTarget::wholeDisk());

        SystemDataView* view = data.show();
        waitForLoad(*view);
        QCOMPARE(shownParts(*view),
                 (QStringList{"System logs 7 MB", "Shared caches " + byteText(cachesOnDisk)}));

        // A scan that holds none of the pieces leaves every one to the disk.
        test::AppStateAccess(*data.shell.state).setScan(data.shell.homeScan(), ScanTarget::home());
        QTest::mouseClick(view->findChild<IconButton*>(QStringLiteral("refreshButton")),
                          Qt::LeftButton);
        waitForLoad(*view);
        QCOMPARE(view->parts().front().size, std::max(logsOnDisk, cachesOnDisk));
        QCOMPARE(view->parts().size(), std::size_t{2});
    }

    void barsAreSharesOfTheLargestPiece() {
        SystemDataFixture data;
        data.tree().allocatedFile("private/var/log/a.log", 400'000);
        data.tree().allocatedFile("Library/Caches/b.db", 40'000);
        SystemDataView* view = data.show();
        waitForLoad(*view);

        const auto bars = view->findChildren<UsageBar*>(QStringLiteral("partBar"));
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[0]->fraction(), 1.0);
        // The bar shows its share to a thousandth.
        QVERIFY(qAbs(bars[1]->fraction() -
                     double(view->parts()[1].size) / double(view->parts()[0].size)) < 0.001);
    }

    void withNothingMeasuredTheCardsStayEmptyAndPurgeableNeverNegative() {
        SystemDataFixture data;
        test::AppStateAccess(*data.shell.state)
            .setVolume(VolumeInfo{"Fixture", 500'000'000'000, 120'000'000'000, 100'000'000'000});
        SystemDataView* view = data.show();
        waitForLoad(*view);

        QVERIFY(shownParts(*view).isEmpty());
        QVERIFY(view->findChildren<UsageBar*>().isEmpty());
        QVERIFY(!shown(*view, "measuringIndicator"));
        QCOMPARE(tileValue(*view, "purgeableTile"), byteText(0));
        QCOMPARE(tileValue(*view, "measuredTile"), byteText(0));
        QCOMPARE(tileValue(*view, "snapshotsTile"), QStringLiteral("0"));

        // Without a volume the tiles go; the cards stay.
        test::AppStateAccess(*data.shell.state).setVolume(std::nullopt);
        QVERIFY(!shown(*view, "summaryRow"));
        QVERIFY(shown(*view, "componentsCard"));
    }

    void theFirstLoadShowsItsProgressAndNoSnapshotsYet() {
        SystemDataFixture data;
        data.snapshotsListed("com.apple.TimeMachine.2024-05-01-101500.local\n"
                             "com.apple.TimeMachine.undated\n");
        test::Gate gate;
        SystemDataView* view = data.show(gate.pass());
        QTRY_COMPARE(gate.arrivals(), 2);

        QVERIFY(shown(*view, "measuringIndicator"));
        QVERIFY(shown(*view, "noSnapshotsText"));
        QVERIFY(!view->findChild<IconButton*>(QStringLiteral("refreshButton"))->isEnabled());
        gate.open();
        waitForLoad(*view);

        QVERIFY(!shown(*view, "noSnapshotsText"));
        QCOMPARE(
            shownSnapshots(*view),
            (QStringList{QString::fromStdString(shortDateTimeText(*view->snapshots().front().date)),
                         "com.apple.TimeMachine.undated"}));
        QCOMPARE(tileValue(*view, "snapshotsTile"), QStringLiteral("2"));
    }

    void aDeletionShowsItsOutcomeAndTheTilesFollowTheVolume() {
        SystemDataFixture data;
        data.snapshotsListed("com.apple.TimeMachine.2024-05-01-101500.local\n"
                             "com.apple.TimeMachine.2024-05-01-111500.local\n");
        data.shell.fixture.administrator.setResult(
            {AdministratorStatus::Failed, 1, "Couldn't find it\n"});
        SystemDataView* view = data.show();
        waitForLoad(*view);

        QSignalSpy deleted(view, &SystemDataView::snapshotDeleted);
        auto buttons = view->findChildren<QPushButton*>(QStringLiteral("deleteSnapshotButton"));
        QTest::mouseClick(buttons.front(), Qt::LeftButton);
        QVERIFY(deleted.wait());
        QCOMPARE(*view->snapshotMessage(), QStringLiteral("Couldn't find it"));
        QVERIFY(shown(*view, "snapshotMessage"));

        data.shell.fixture.administrator.setResult({AdministratorStatus::Succeeded, 0, {}});
        data.snapshotsListed("com.apple.TimeMachine.2024-05-01-101500.local\n");
        data.shell.fixture.volume =
            VolumeInfo{"Fixture", 500'000'000'000, 130'000'000'000, 131'000'000'000};
        buttons = view->findChildren<QPushButton*>(QStringLiteral("deleteSnapshotButton"));
        QTest::mouseClick(buttons.front(), Qt::LeftButton);
        QVERIFY(!buttons.back()->isEnabled());
        QVERIFY(deleted.wait());

        QCOMPARE(view->snapshotMessage(), std::nullopt);
        QVERIFY(!shown(*view, "snapshotMessage"));
        QTRY_COMPARE(shownSnapshots(*view).size(), 1);
        QCOMPARE(tileValue(*view, "snapshotsTile"), QStringLiteral("1"));
        QCOMPARE(tileValue(*view, "purgeableTile"), byteText(1'000'000'000));
        QCOMPARE(
            data.shell.fixture.administrator.calls().back(),
            (test::CommandLine{"/usr/bin/tmutil", "deletelocalsnapshots", "2024-05-01-111500"}));
    }
};

DORVALE_QT_TEST(SystemDataViewTest)

} // namespace dorvale

#include "SystemDataViewTest.moc"
