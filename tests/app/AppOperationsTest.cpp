#include "app/AppState.hpp"
#include "app/RunInBackground.hpp"
#include "support/FileChecks.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppFixture.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/app/SignalRecorder.hpp"
#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using namespace std::chrono_literals;
using test::AppFixture;
using test::Gate;
using test::SignalRecorder;

struct OperationsFixture {
    OperationsFixture() {
        services.delays.smartScanFloor = 0ms;
        services.delays.smartCleanFloor = 0ms;
    }

    AppFixture fixture;
    AppServices services = fixture.services();
};

void settleJobs() {
    QVERIFY(workerPool().waitForDone(30'000));
    QCoreApplication::sendPostedEvents();
}

// A tree at `root` holding one file of 2 MiB.
std::shared_ptr<ScanResult> treeAt(const std::string& root) {
    test::TreeBuilder builder(root);
    builder.file(builder.root(), "movie.mov", 2'097'152);
    builder.file(builder.root(), "movie copy.mov", 2'097'152);
    return std::make_shared<ScanResult>(builder.finish());
}

QList<QByteArray> only(const QList<QByteArray>& emitted, const QList<QByteArray>& names) {
    QList<QByteArray> kept;
    for (const QByteArray& name : emitted) {
        if (names.contains(name)) {
            kept.push_back(name);
        }
    }
    return kept;
}

// A duplicate search that waits at a gate, then reports and ends with `groups`; it keeps its
// progress callback so that a test can report once more after the result.
struct HeldDuplicateSearch {
    FindDuplicatesFunction seam() {
        return [gate = gate.pass(), shared = shared](std::span<const DuplicateCandidate> candidates,
                                                     std::int64_t minimumSize,
                                                     const DuplicateFinder::Progress& progress) {
            gate();
            const std::lock_guard lock(shared->mutex);
            shared->candidates.assign(candidates.begin(), candidates.end());
            shared->minimumSize = minimumSize;
            shared->progress = progress;
            progress(0.5);
            return shared->groups;
        };
    }

    struct Shared {
        std::mutex mutex;
        std::vector<DuplicateCandidate> candidates;
        std::int64_t minimumSize = 0;
        DuplicateFinder::Progress progress;
        std::vector<DuplicateGroup> groups;
    };
    Gate gate;
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
};

class AppOperationsTest final : public QObject {
    Q_OBJECT

private slots:
    void applicationsLoadOnceUnlessForced() {
        OperationsFixture f;
        auto calls = std::make_shared<std::atomic<int>>(0);
        f.services.collectApps = [calls](const Locations&, const AppInventory::AccessProbe&) {
            ++*calls;
            return std::vector<InstalledApp>{InstalledApp{.path = "/Applications/A.app"}};
        };
        AppState state(f.services);
        QSignalSpy loading(&state, &AppState::appsLoadingChanged);
        state.loadApps(false);
        QVERIFY(state.appsLoading());
        state.loadApps(false);
        QTRY_VERIFY(!state.appsLoading());
        QCOMPARE(state.apps().size(), std::size_t{1});
        state.loadApps(false);
        QCOMPARE(calls->load(), 1);
        state.loadApps(true);
        QTRY_COMPARE(calls->load(), 2);
        QTRY_VERIFY(!state.appsLoading());
        QCOMPARE(loading.count(), 4);
    }

    // Two loads overlap and end in the opposite order: the flag stays on until both have
    // ended, and the data of the one that ended last stays.
    void overlappingLoadsKeepTheirFlagUntilTheLastEnds() {
        OperationsFixture f;
        Gate first;
        Gate second;
        auto calls = std::make_shared<std::atomic<int>>(0);
        f.services.collectApps = [calls, first = first.pass(), second = second.pass()](
                                     const Locations&, const AppInventory::AccessProbe&) {
            const bool isFirst = (*calls)++ == 0;
            (isFirst ? first : second)();
            return std::vector<InstalledApp>{
                InstalledApp{.path = isFirst ? "/Applications/First.app" : "/Second.app"}};
        };
        f.services.scanJunk = [calls, first = first.pass(), second = second.pass()](
                                  std::span<const JunkRule> rules, const Locations&, const Clock&,
                                  const JunkScan::AccessProbe&) {
            const bool isFirst = (*calls)++ == 2;
            (isFirst ? first : second)();
            return std::vector<JunkFinding>(isFirst ? 1 : 2, JunkFinding{rules.front(), {}});
        };
        AppState state(f.services);
        state.loadApps(true);
        QTRY_COMPARE(first.arrivals(), 1);
        state.loadApps(true);
        QTRY_COMPARE(second.arrivals(), 1);
        state.loadJunk();
        QTRY_COMPARE(first.arrivals(), 2);
        state.loadJunk();
        QTRY_COMPARE(second.arrivals(), 2);

        QSignalSpy apps(&state, &AppState::appsChanged);
        QSignalSpy junk(&state, &AppState::junkChanged);
        second.open();
        QTRY_COMPARE(apps.count(), 1);
        QTRY_COMPARE(junk.count(), 1);
        QVERIFY(state.appsLoading());
        QVERIFY(state.junkLoading());
        first.open();
        QTRY_VERIFY(!state.appsLoading());
        QTRY_VERIFY(!state.junkLoading());
        QCOMPARE(state.apps().front().path, std::string("/Applications/First.app"));
        QCOMPARE(state.junk().size(), std::size_t{1});
    }

    void leftoversLoadTheApplicationsFirst() {
        OperationsFixture f;
        f.services.collectApps = [](const Locations&, const AppInventory::AccessProbe&) {
            return std::vector<InstalledApp>{InstalledApp{.path = "/Applications/A.app"}};
        };
        f.services.findLeftovers = [](std::span<const InstalledApp> apps, const Locations&,
                                      const Workspace&, const AppInventory::AccessProbe&) {
            std::vector<Leftover> found;
            for (const InstalledApp& app : apps) {
                found.push_back(Leftover{.path = app.path + ".left"});
            }
            return found;
        };
        AppState state(f.services);
        QSignalSpy appsLoading(&state, &AppState::appsLoadingChanged);
        QSignalSpy loaded(&state, &AppState::leftoversLoadingChanged);
        state.loadLeftovers();
        QVERIFY(state.leftoversLoading());
        state.loadLeftovers();
        QTRY_VERIFY(!state.leftoversLoading());
        QCOMPARE(state.apps().size(), std::size_t{1});
        QCOMPARE(state.leftovers().size(), std::size_t{1});
        QCOMPARE(state.leftovers().front().path, std::string("/Applications/A.app.left"));
        QCOMPARE(appsLoading.count(), 0);
        QCOMPARE(loaded.count(), 2);
    }

    void theSmartCleanCleansWithItsToastBeforeItsReport() {
        OperationsFixture f;
        const std::string cache =
            f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob.cache", 40'960);
        const std::string log = f.fixture.tree.allocatedFile("Users/a/Library/Logs/old.log", 4'096);
        AppState state(f.services);
        state.setSmartSelection({"user-caches"});
        QSignalSpy review(&state, &AppState::smartPhaseChanged);
        state.startSmartClean();
        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.smartPhase(), SmartPhase::Scanning);
        QTRY_COMPARE(state.smartPhase(), SmartPhase::Review);
        QCOMPARE(state.junk().size(), std::size_t{2});
        QCOMPARE(state.smartSelectionSize(), std::int64_t{40'960});

        const SignalRecorder recorder(state);
        std::optional<DeletionReport> report;
        state.cleanJunk([&report](const DeletionReport& done) { report = done; });
        QCOMPARE(state.smartPhase(), SmartPhase::Cleaning);
        QTRY_VERIFY(report.has_value());
        QCOMPARE(
            only(recorder.emitted(),
                 {"toastChanged", "lastReportChanged", "smartPhaseChanged", "junkLoadingChanged"}),
            (QList<QByteArray>{"smartPhaseChanged", "toastChanged", "lastReportChanged",
                               "smartPhaseChanged", "junkLoadingChanged", "junkLoadingChanged"}));
        QCOMPARE(state.smartPhase(), SmartPhase::Done);
        QCOMPARE(state.lastReport(), report);
        QCOMPARE(report->freed, std::int64_t{40'960});
        QCOMPARE(state.toast()->message, QString("41 KB freed"));
        QVERIFY(!test::exists(cache));
        QVERIFY(test::exists(log));
        // The junk was loaded again and shows what is left.
        QCOMPARE(state.junk().size(), std::size_t{1});
        QCOMPARE(state.junk().front().id(), std::string("user-logs"));
    }

    void theStagesStayOnScreenForTheirFloors() {
        OperationsFixture f;
        f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob.cache", 4'096);
        f.services.delays.smartScanFloor = 1h;
        {
            AppState state(f.services);
            state.startSmartClean();
            QSignalSpy loaded(&state, &AppState::junkLoadingChanged);
            QVERIFY(loaded.wait());
            QCoreApplication::sendPostedEvents();
            QCOMPARE(state.junk().size(), std::size_t{1});
            QCOMPARE(state.smartPhase(), SmartPhase::Scanning);
        }
        f.services.delays.smartScanFloor = 0ms;
        f.services.delays.smartCleanFloor = 1h;
        AppState state(f.services);
        state.loadJunk();
        QTRY_VERIFY(!state.junkLoading());
        state.cleanJunk();
        QSignalSpy toast(&state, &AppState::toastChanged);
        QVERIFY(toast.wait());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(state.smartPhase(), SmartPhase::Cleaning);
        QVERIFY(!state.lastReport().has_value());
    }

    void aSecondStartWhileScanningOrCleaningOnlyShowsTheSection() {
        OperationsFixture f;
        f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob.cache", 4'096);
        Gate scan;
        f.services.scanJunk = [pass = scan.pass()](std::span<const JunkRule> rules,
                                                   const Locations& locations, const Clock& clock,
                                                   const JunkScan::AccessProbe& probe) {
            pass();
            return JunkScan::scanRules(rules, locations, clock, probe);
        };
        AppState state(f.services);
        test::AppStateAccess(state).setJunk(JunkScan::scanRules(
            JunkRule::all(), f.fixture.locations, f.fixture.clock, f.services.hasFullDiskAccess));
        QCOMPARE(state.junk().size(), std::size_t{1});

        // While scanning: another start only shows the section, and nothing is cleaned.
        state.startSmartClean();
        state.setSection(AppSection::Overview);
        state.startSmartClean();
        state.cleanJunk();
        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.smartPhase(), SmartPhase::Scanning);
        QTRY_COMPARE(scan.arrivals(), 1);
        scan.open();
        QTRY_COMPARE(state.smartPhase(), SmartPhase::Review);
        QCOMPARE(scan.arrivals(), 1);
        QVERIFY(state.history().entries().empty());

        // While cleaning: neither a second clean nor a start cleans the same items again.
        QSignalSpy toast(&state, &AppState::toastChanged);
        state.cleanJunk();
        state.cleanJunk();
        state.startSmartClean();
        QCOMPARE(state.smartPhase(), SmartPhase::Cleaning);
        QVERIFY(toast.wait());
        QTRY_COMPARE(state.smartPhase(), SmartPhase::Done);
        settleJobs();
        QCOMPARE(toast.count(), 1);
        QCOMPARE(state.history().entries().size(), std::size_t{1});
        QCOMPARE(state.toast()->message, QString("4 KB freed"));
    }

    void aCleanWithNothingSelectedChangesNothing() {
        OperationsFixture f;
        f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob.cache", 4'096);
        AppState state(f.services);
        state.loadJunk();
        QTRY_VERIFY(!state.junkLoading());
        state.setSmartSelection({"user-logs"});
        test::AppStateAccess(state).setSmartPhase(SmartPhase::Review);
        QCOMPARE(state.smartSelectionSize(), std::int64_t{0});
        const SignalRecorder recorder(state);
        state.cleanJunk();
        settleJobs();
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
    }

    void aDuplicateResultOfAReplacedScanIsDropped() {
        OperationsFixture f;
        HeldDuplicateSearch search;
        f.services.findDuplicates = search.seam();
        AppState state(f.services);
        state.findDuplicates();
        QVERIFY(!state.duplicatesProgress().has_value());

        auto first = treeAt("/first");
        test::AppStateAccess(state).setScan(first, std::nullopt);
        const FileNode* file = first->files.front();
        search.shared->groups = {DuplicateGroup{.id = "x", .size = 1, .files = {file, file}}};
        state.findDuplicates();
        QCOMPARE(state.duplicatesProgress(), std::optional(0.0));
        test::AppStateAccess(state).setScan(treeAt("/second"), std::nullopt);
        first.reset();

        const SignalRecorder recorder(state);
        search.gate.open();
        settleJobs();
        QCOMPARE(recorder.emitted(), QList<QByteArray>{"duplicatesProgressChanged"});
        QVERIFY(state.duplicates().empty());
        QVERIFY(!state.duplicatesProgress().has_value());
        QCOMPARE(search.shared->candidates.size(), std::size_t{2});
        QCOMPARE(search.shared->candidates[1].path, std::string("/first/movie copy.mov"));
        QCOMPARE(search.shared->minimumSize, std::int64_t{1'048'576});
    }

    void progressAfterTheResultLeavesNoFraction() {
        OperationsFixture f;
        HeldDuplicateSearch search;
        search.gate.open();
        f.services.findDuplicates = search.seam();
        AppState state(f.services);
        test::AppStateAccess(state).setScan(treeAt("/scan"), std::nullopt);
        const FileNode* file = state.scan()->files.front();
        search.shared->groups = {DuplicateGroup{.id = "x", .size = 1, .files = {file, file}}};
        QSignalSpy progress(&state, &AppState::duplicatesProgressChanged);
        state.findDuplicates();
        settleJobs();
        QCOMPARE(state.duplicates().size(), std::size_t{1});
        QVERIFY(!state.duplicatesProgress().has_value());
        // 0, the worker's 0.5, then none.
        QCOMPARE(progress.count(), 3);

        const SignalRecorder recorder(state);
        search.shared->progress(0.75);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
        QVERIFY(!state.duplicatesProgress().has_value());
    }

    void copiesDeletedDuringTheSearchNoLongerCount() {
        OperationsFixture f;
        HeldDuplicateSearch search;
        f.services.findDuplicates = search.seam();
        AppState state(f.services);
        test::TreeBuilder builder("/scan");
        const FileNode* a = builder.file(builder.root(), "a.mov", 2'097'152);
        const FileNode* b = builder.file(builder.root(), "b.mov", 2'097'152);
        const FileNode* c = builder.file(builder.root(), "c.mov", 2'097'152);
        test::AppStateAccess(state).setScan(std::make_shared<ScanResult>(builder.finish()),
                                            std::nullopt);
        search.shared->groups = {DuplicateGroup{.id = "ab", .size = 1, .files = {a, b}},
                                 DuplicateGroup{.id = "abc", .size = 1, .files = {a, b, c}}};
        state.findDuplicates();
        state.removeDeleted({"/scan/b.mov"});
        search.gate.open();
        settleJobs();
        QCOMPARE(state.duplicates().size(), std::size_t{1});
        QCOMPARE(state.duplicates().front().id, std::string("abc"));
        QCOMPARE(state.duplicates().front().files, (std::vector<const FileNode*>{a, c}));
    }

    void theCompositionListsBucketsLargestFirst() {
        OperationsFixture f;
        AppState state(f.services);
        QVERIFY(state.overviewComposition().empty());
        auto scan = std::make_shared<ScanResult>();
        scan->bucketTotals = {{StorageBucket::Other, 500},
                              {StorageBucket::Video, 500},
                              {StorageBucket::Audio, 0},
                              {StorageBucket::Documents, 900},
                              {StorageBucket::Applications, 500}};
        test::AppStateAccess(state).setScan(scan, std::nullopt);
        using Pair = std::pair<StorageBucket, std::int64_t>;
        QCOMPARE(state.overviewComposition(), (std::vector<Pair>{{StorageBucket::Documents, 900},
                                                                 {StorageBucket::Applications, 500},
                                                                 {StorageBucket::Video, 500},
                                                                 {StorageBucket::Other, 500}}));
    }

    void aCardAsksForDeletionWithTheVerdictsOfNow() {
        OperationsFixture f;
        const std::string trashed =
            f.fixture.tree.allocatedFile("Users/a/.local/share/Trash/files/big.iso", 50'003'968);
        AppState state(f.services);
        state.loadJunk();
        QTRY_VERIFY(!state.junkLoading());
        const std::vector<Recommendation> cards = state.buildRecommendations();
        QCOMPARE(cards.size(), std::size_t{1});
        QCOMPARE(cards.front().id, std::string("trash"));

        state.perform(cards.front().action);
        QVERIFY(state.plan().has_value());
        QCOMPARE(state.plan()->title, QString("Empty the Trash"));
        QCOMPARE(state.plan()->items.size(), std::size_t{1});
        QCOMPARE(state.plan()->items.front().path, trashed);
        QCOMPARE(state.plan()->items.front().verdict, f.fixture.safety.verdict(trashed));
        QCOMPARE(state.plan()->items.front().verdict.risk, Risk::Safe);
    }

    void cardsOpenSectionsAndAnExplorerChainOnlyOfTheCurrentScan() {
        OperationsFixture f;
        AppState state(f.services);
        namespace Actions = RecommendationActions;
        state.perform(Actions::OpenSection{RecommendedSection::Developer});
        QCOMPARE(state.section(), AppSection::Developer);

        FileFilter filter;
        filter.minSize = 500'000'000;
        state.perform(Actions::OpenLargeFiles{filter});
        QCOMPARE(state.largeFilter(), filter);
        QCOMPARE(state.section(), AppSection::Large);

        auto old = treeAt("/old");
        test::AppStateAccess(state).setScan(old, std::nullopt);
        const Actions::OpenExplorer stale{old, {old->root}};
        auto current = treeAt("/current");
        test::AppStateAccess(state).setScan(current, std::nullopt);
        const SignalRecorder recorder(state);
        state.perform(stale);
        QCOMPARE(recorder.emitted(), QList<QByteArray>{});
        QCOMPARE(state.explorerStack(), std::vector<const FileNode*>{current->root});

        const FileNode* movie = current->files.front();
        state.perform(Actions::OpenExplorer{current, {current->root, movie}});
        QCOMPARE(state.explorerStack(), (std::vector<const FileNode*>{current->root, movie}));
        QCOMPARE(state.section(), AppSection::Explorer);

        state.perform(Actions::StartSmartClean{});
        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.smartPhase(), SmartPhase::Scanning);
    }

    void developerArtefactsComeFromTheScanAndTheJunk() {
        OperationsFixture f;
        f.fixture.tree.allocatedFile("Users/a/Library/Developer/Xcode/DerivedData/App-1/x", 4'096);
        AppState state(f.services);
        test::TreeBuilder builder(f.fixture.tree.path("Users/a/code"));
        FileNode* modules = builder.folder(builder.root(), "node_modules");
        builder.file(modules, "blob", 30'000'000);
        test::AppStateAccess(state).setScan(std::make_shared<ScanResult>(builder.finish()),
                                            std::nullopt);
        state.loadJunk();
        QTRY_VERIFY(!state.junkLoading());

        const std::vector<DevItem> items = state.findDeveloperArtefacts();
        QCOMPARE(items.size(), std::size_t{2});
        QCOMPARE(items[0].path, f.fixture.tree.path("Users/a/code/node_modules"));
        QCOMPARE(items[1].title, std::string("Xcode · DerivedData · App-1"));
    }
};

} // namespace

DORVALE_QT_TEST(AppOperationsTest)

} // namespace dorvale

#include "AppOperationsTest.moc"
