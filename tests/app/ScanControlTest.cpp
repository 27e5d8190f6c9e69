#include "app/AppState.hpp"
#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "platform/JsonSettings.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppFixture.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/SignalRecorder.hpp"
#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::AppFixture;
using test::LatchedScan;
using test::SignalRecorder;

// A small tree at `rootPath` with one file, as a scan of it would give.
ScanResult treeAt(const std::string& rootPath, std::string_view fileName = "movie.mov") {
    test::TreeBuilder builder(rootPath);
    builder.file(builder.root(), fileName, 1'048'576);
    return builder.finish();
}

// Runs every job to its end and delivers what they posted to the GUI thread, so a test can
// check that a late result or report changed nothing.
void settleJobs() {
    QVERIFY(workerPool().waitForDone(30'000));
    QCoreApplication::sendPostedEvents();
}

bool ended(const LatchedScan& scans, const std::string& rootPath) {
    for (const LatchedScan::Outcome& outcome : scans.outcomes()) {
        if (outcome.rootPath == rootPath) {
            return true;
        }
    }
    return false;
}

// A fixture whose scans wait on the latch, with two real folders to scan.
struct LatchedFixture {
    LatchedFixture() {
        services.scan = fixture.scans.seam();
        fixture.tree.allocatedFile("Users/a/A/a.bin", 1'048'576);
        fixture.tree.allocatedFile("Users/a/B/b.bin", 1'048'576);
    }

    AppFixture fixture;
    AppServices services = fixture.services();
    std::string a = fixture.tree.path("Users/a/A");
    std::string b = fixture.tree.path("Users/a/B");
};

class ScanControlTest final : public QObject {
    Q_OBJECT

private slots:
    void aSecondScanCancelsTheFirstAndOnlyTheSecondCounts() {
        LatchedFixture f;
        AppState state(f.services);
        state.startScan(ScanTarget::folder(f.a));
        state.startScan(ScanTarget::folder(f.b));
        QVERIFY(state.isScanning());
        QCOMPARE(state.scanTarget(), ScanTarget::folder(f.b));

        // The window keeps running while both walks are held.
        QTimer tick;
        QSignalSpy ticked(&tick, &QTimer::timeout);
        tick.start(0);
        QVERIFY(ticked.wait());

        QSignalSpy published(&state, &AppState::scanChanged);
        f.fixture.scans.releaseToWalk(f.b);
        QVERIFY(published.wait());
        QCOMPARE(std::string(state.scan()->root->name()), f.b);
        QCOMPARE(state.scannedTarget(), std::optional(ScanTarget::folder(f.b)));
        QVERIFY(!state.isScanning());

        // The first walk was cancelled, so it gives nothing, and its end changes nothing.
        const SignalRecorder recorder(state);
        f.fixture.scans.releaseToWalk(f.a);
        settleJobs();
        QCOMPARE(f.fixture.scans.outcomes().size(), std::size_t{2});
        QVERIFY(!f.fixture.scans.outcomes()[1].gaveResult);
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
    }

    void aReplacedScannerChangesNothingEvenWithAResultAndProgress() {
        LatchedFixture f;
        AppState state(f.services);
        state.startScan(ScanTarget::folder(f.a));
        state.startScan(ScanTarget::folder(f.b));
        const SignalRecorder recorder(state);

        // The replaced scan reports and ends while the new one still walks.
        f.fixture.scans.releaseWithResult(f.a, treeAt(f.a), {{900, 9'000'000, "/Users/a/A/x"}});
        QTRY_VERIFY(ended(f.fixture.scans, f.a));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
        QCOMPARE(state.progress().files, std::int64_t{0});
        QVERIFY(state.isScanning());

        QSignalSpy published(&state, &AppState::scanChanged);
        f.fixture.scans.releaseWithResult(f.b, treeAt(f.b), {{7, 7'000, "/Users/a/B/b.bin"}});
        QVERIFY(published.wait());
        settleJobs();
        QCOMPARE(std::string(state.scan()->root->name()), f.b);
        QCOMPARE(state.progress().files, std::int64_t{7});
        QCOMPARE(state.progress().currentPath, std::string("/Users/a/B/b.bin"));
        QCOMPARE(state.revision(), std::int64_t{1});
    }

    void aCancelledScanKeepsThePreviousResult() {
        LatchedFixture f;
        AppState state(f.services);
        auto previous = std::make_shared<ScanResult>(treeAt("/earlier"));
        test::AppStateAccess(state).setScan(previous, ScanTarget::home());
        state.startScan(ScanTarget::folder(f.a));
        QSignalSpy scanning(&state, &AppState::isScanningChanged);
        state.cancelScan();
        QCOMPARE(scanning.count(), 1);
        QVERIFY(!state.isScanning());

        const SignalRecorder recorder(state);
        f.fixture.scans.releaseWithResult(f.a, treeAt(f.a), {{3, 3'000, "/Users/a/A"}});
        settleJobs();
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
        QCOMPARE(state.scan(), std::shared_ptr<const ScanResult>(previous));
        QCOMPARE(state.scannedTarget(), std::optional(ScanTarget::home()));
        QCOMPARE(state.progress().files, std::int64_t{0});
    }

    void aNewResultReleasesTheOldTreeAndEverythingOnIt() {
        LatchedFixture f;
        AppState state(f.services);
        test::TreeBuilder builder("/earlier");
        FileNode* folder = builder.folder(builder.root(), "Movies");
        FileNode* one = builder.file(folder, "one.mov", 2'097'152);
        FileNode* two = builder.file(folder, "two.mov", 2'097'152);
        auto previous = std::make_shared<ScanResult>(builder.finish());
        test::AppStateAccess(state).setScan(previous, ScanTarget::home());
        state.setExplorerStack({previous->root, folder});
        test::AppStateAccess(state).setDuplicates(
            {DuplicateGroup{"digest", 2'097'152, {one, two}}});
        const std::weak_ptr<ScanResult> released = previous;
        previous.reset();

        state.startScan(ScanTarget::folder(f.b));
        f.fixture.volume = VolumeInfo{"Fixture", 500'000'000'000, 1, 1};
        const SignalRecorder recorder(state);
        bool wholeStateInSlot = false;
        QThread* publishedOn = nullptr;
        connect(&state, &AppState::scanChanged, this, [&] {
            publishedOn = QThread::currentThread();
            wholeStateInSlot = !state.isScanning() && state.duplicates().empty() &&
                               state.explorerStack().size() == 1 && state.revision() == 2;
        });
        f.fixture.scans.releaseWithResult(f.b, treeAt(f.b));
        QTRY_VERIFY(publishedOn != nullptr);

        QCOMPARE(publishedOn, QCoreApplication::instance()->thread());
        QVERIFY(wholeStateInSlot);
        QCOMPARE(recorder.emitted(),
                 (QList<QByteArray>{"isScanningChanged", "scanChanged", "explorerStackChanged",
                                    "duplicatesChanged", "revisionChanged", "volumeChanged"}));
        QVERIFY(released.expired());
        QCOMPARE(state.explorerStack(), std::vector<const FileNode*>{state.scan()->root});
        QCOMPARE(state.scannedTarget(), std::optional(ScanTarget::folder(f.b)));
        QCOMPARE(state.volume(), f.fixture.volume);
    }

    void aScanWithoutResultOnlyRefreshesTheVolume() {
        LatchedFixture f;
        AppState state(f.services);
        auto previous = std::make_shared<ScanResult>(treeAt("/earlier"));
        test::AppStateAccess(state).setScan(previous, ScanTarget::home());
        state.startScan(ScanTarget::folder(f.b));
        f.fixture.volume = std::nullopt;
        const SignalRecorder recorder(state);
        f.fixture.scans.releaseWithResult(f.b, std::nullopt);
        QTRY_VERIFY(!state.isScanning());
        QCOMPARE(recorder.emitted(), (QList<QByteArray>{"isScanningChanged", "volumeChanged"}));
        QCOMPARE(state.scan(), std::shared_ptr<const ScanResult>(previous));
        QCOMPARE(state.revision(), std::int64_t{1});
        QVERIFY(!state.volume().has_value());
    }

    void accessIsAskedForTheDiskAndHomeButNeverForAFolder() {
        LatchedFixture f;
        f.fixture.fullDiskAccess = false;
        AppState state(f.services);
        state.startScan(ScanTarget::folder(f.a));
        QVERIFY(state.isScanning());
        QVERIFY(!state.showAccessOnboarding());
        QVERIFY(!state.hasFullDiskAccess());

        for (const ScanTarget& target : {ScanTarget::home(), ScanTarget::wholeDisk()}) {
            state.setShowAccessOnboarding(false);
            state.startScan(target);
            QCOMPARE(state.scanTarget(), target);
            QVERIFY(state.showAccessOnboarding());
        }
        // The refused starts left the running scan alone: it still counts.
        QSignalSpy published(&state, &AppState::scanChanged);
        f.fixture.scans.releaseToWalk(f.a);
        QVERIFY(published.wait());
        QCOMPARE(std::string(state.scan()->root->name()), f.a);
        QCOMPARE(state.scannedTarget(), std::optional(ScanTarget::folder(f.a)));
        QCOMPARE(state.scanTarget(), ScanTarget::wholeDisk());
        QCOMPARE(f.fixture.scans.calls().size(), std::size_t{1});

        // Once the user skipped the onboarding, the disk is scanned without access; with
        // access granted in the meantime, the new answer is published.
        state.setAccessOnboardingSkipped(true);
        f.fixture.fullDiskAccess = true;
        state.startScan();
        QVERIFY(state.isScanning());
        QVERIFY(state.hasFullDiskAccess());
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{2});
        QCOMPARE(f.fixture.scans.calls()[1].rootPath, f.fixture.locations.dataVolume);
    }

    void theExclusionsAreTakenWhenTheScanStarts() {
        LatchedFixture f;
        AppState state(f.services);
        // Settings hold real paths or matching ones; the scanner wants matching paths.
        QVERIFY(state.setExcludedPaths({f.fixture.tree.path("Users/a/A/cache"), "/Users/a/B/x"}));
        state.startScan(ScanTarget::folder(f.a));
        test::AppStateAccess(state).setExcludedRaw("/elsewhere");
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{1});
        QCOMPARE(f.fixture.scans.calls()[0].exclusions,
                 (Scanner::Exclusions{"/Users/a/A/cache", "/Users/a/B/x"}));
    }

    void quittingCancelsTheRunningScan() {
        LatchedFixture f;
        AppState state(f.services);
        state.startScan(ScanTarget::folder(f.a));
        state.prepareToQuit();
        QVERIFY(!state.isScanning());
        f.fixture.scans.releaseToWalk(f.a);
        settleJobs();
        QCOMPARE(f.fixture.scans.outcomes().size(), std::size_t{1});
        QVERIFY(!f.fixture.scans.outcomes()[0].gaveResult);
        QVERIFY(state.scan() == nullptr);
    }

    void startsFromASettingsFileAndScansARealFolderOnAWorker() {
        AppFixture fixture;
        const std::string documents = fixture.tree.path("Users/a/Documents");
        fixture.tree.allocatedFile("Users/a/Documents/movie.mov", 1'048'576);
        fixture.tree.file("Users/a/Documents/notes.txt", "hello");
        fixture.tree.allocatedFile("Users/a/Documents/skip/big.bin", 2'097'152);
        const std::string settingsFile = JsonSettings::defaultPath(fixture.locations);
        std::filesystem::create_directories(std::filesystem::path(settingsFile).parent_path());
        std::ofstream(settingsFile)
            << "{\"initialSection\": \"explorer\", \"autoScan\": \"" << documents
            << "/\", \"excludedPaths\": \"" << documents << "/skip\"}";
        JsonSettings settings(settingsFile);
        fixture.fullDiskAccess = false;

        AppServices services = fixture.services(settings);
        QThread* scannedOn = nullptr;
        services.scan = [walk = services.scan, &scannedOn](Scanner& scanner,
                                                           const std::string& rootPath,
                                                           const Scanner::Exclusions& exclusions,
                                                           const Scanner::Progress& progress) {
            scannedOn = QThread::currentThread();
            return walk(scanner, rootPath, exclusions, progress);
        };
        AppState state(services);
        QThread* publishedOn = nullptr;
        connect(&state, &AppState::scanChanged, this,
                [&publishedOn] { publishedOn = QThread::currentThread(); });
        QCOMPARE(state.section(), AppSection::Explorer);
        QVERIFY(state.isScanning());

        QTRY_VERIFY(publishedOn != nullptr);
        QThread* const gui = QCoreApplication::instance()->thread();
        QCOMPARE(publishedOn, gui);
        QVERIFY(scannedOn != nullptr && scannedOn != gui);
        const auto scan = state.scan();
        QCOMPARE(scan->rootPath, documents);
        QCOMPARE(scan->totalFiles, std::int64_t{2});
        QCOMPARE(scan->root->children().size(), std::size_t{1});
        QCOMPARE(std::string(scan->root->children()[0]->name()), std::string("movie.mov"));
        QCOMPARE(state.scannedTarget(), std::optional(ScanTarget::folder(documents)));
        QCOMPARE(state.explorerStack(), std::vector<const FileNode*>{scan->root});
        QCOMPARE(state.revision(), std::int64_t{1});
        QVERIFY(!state.isScanning());
    }
};

} // namespace

DORVALE_QT_TEST(ScanControlTest)

} // namespace dorvale

#include "ScanControlTest.moc"
