#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/RunInBackground.hpp"
#include "platform/Paths.hpp"
#include "support/FileChecks.hpp"
#include "support/TreeBuilder.hpp"
#include "support/TreeChecks.hpp"
#include "support/app/AppFixture.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/SignalRecorder.hpp"
#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::AppFixture;
using test::child;
using test::contentsOf;
using test::exists;
using test::SignalRecorder;

// The state of a fixture with no floors, so runs publish as soon as they end.
struct RoadFixture {
    RoadFixture() {
        services.delays = Delays{.smartScanFloor = {},
                                 .smartCleanFloor = {},
                                 .toastLifetime = {},
                                 .backgroundInterval = {}};
    }

    PlanItem item(const std::string& path, std::int64_t size, Removal removal = Removal::Trash) {
        return PlanItem{PlanCandidate{.path = path,
                                      .name = std::string(lastComponent(path)),
                                      .size = size,
                                      .removal = removal},
                        fixture.safety.verdict(path)};
    }

    // Runs the requests and waits for the run's end.
    DeletionReport run(AppState& state, std::vector<DeletionRequest> requests,
                       bool silently = false) {
        std::optional<DeletionReport> report;
        state.runDeletion(std::move(requests), silently,
                          [&report](const DeletionReport& done) { report = done; });
        [[maybe_unused]] const bool ended =
            QTest::qWaitFor([&report] { return report.has_value(); });
        return report.value_or(DeletionReport{});
    }

    AppFixture fixture;
    AppServices services = fixture.services();
};

DeletionRequest request(std::string path, Removal removal) {
    return DeletionRequest{.id = Uuid::random(),
                           .path = std::move(path),
                           .removal = removal,
                           .confirmedRisk = Risk::Review};
}

std::vector<std::string> paths(const std::vector<PlanItem>& items) {
    std::vector<std::string> result;
    for (const PlanItem& item : items) {
        result.push_back(item.path);
    }
    return result;
}

std::int64_t bucketTotal(const ScanResult& scan, StorageBucket bucket) {
    const auto found = scan.bucketTotals.find(bucket);
    return found == scan.bucketTotals.end() ? 0 : found->second;
}

// Under `root`: A/B/f.pdf (1,000 bytes), A/g.pdf (2,000) and h.mov (4,000).
std::shared_ptr<ScanResult> smallTree(const std::string& root) {
    test::TreeBuilder builder(root);
    FileNode* a = builder.folder(builder.root(), "A");
    FileNode* b = builder.folder(a, "B");
    builder.file(b, "f.pdf", 1'000, {.bucket = StorageBucket::Documents});
    builder.file(a, "g.pdf", 2'000, {.bucket = StorageBucket::Documents});
    builder.file(builder.root(), "h.mov", 4'000, {.bucket = StorageBucket::Video});
    return std::make_shared<ScanResult>(builder.finish());
}

struct NestingCase {
    const char* name;
    std::vector<std::string> given;
    std::vector<std::string> kept;
};

struct MessageCase {
    const char* name;
    std::vector<DeletionRequest> requests;
    QString message;
    std::optional<QString> detail;
    std::size_t undoable;
};

class DeletionRoadTest final : public QObject {
    Q_OBJECT

private slots:
    void thePlanLeavesOutItemsInsideAnotherItem() {
        const NestingCase cases[] = {
            {"inner item", {"/a/b", "/a/b/c"}, {"/a/b"}},
            {"container listed last", {"/a/b/c/d", "/x", "/a"}, {"/x", "/a"}},
            {"name sharing a prefix", {"/a/b", "/a/bc"}, {"/a/b", "/a/bc"}},
            {"same path twice", {"/a/b", "/a/b"}, {"/a/b", "/a/b"}},
        };
        RoadFixture f;
        AppState state(f.services);
        for (const NestingCase& nesting : cases) {
            std::vector<PlanItem> items;
            for (const std::string& path : nesting.given) {
                items.push_back(f.item(path, 1));
            }
            state.requestDeletion("Delete", items);
            QVERIFY2(state.plan().has_value(), nesting.name);
            QVERIFY2(paths(state.plan()->items) == nesting.kept, nesting.name);
            QCOMPARE(state.plan()->title, QString("Delete"));
        }
        QSignalSpy planChanged(&state, &AppState::planChanged);
        const Uuid shown = state.plan()->id;
        state.requestDeletion("Nothing", {});
        QCOMPARE(planChanged.count(), 0);
        QCOMPARE(state.plan()->id, shown);
    }

    void theToastSaysWhatTheRunWon() {
        RoadFixture f;
        AppState state(f.services);
        // What is credited is what the file occupies: whole blocks of 4,096 bytes.
        const auto file = [&f](const std::string& name, std::int64_t bytes) {
            return f.fixture.tree.allocatedFile("Users/a/Downloads/" + name, bytes);
        };
        const std::string missing = f.fixture.tree.path("Users/a/Downloads/missing");
        const std::string documents = f.fixture.tree.folder("Users/a/Documents");
        const MessageCase cases[] = {
            {"freed",
             {request(file("a", 1'500'000), Removal::Permanent)},
             "1.5 MB freed",
             std::nullopt,
             0},
            {"moved",
             {request(file("b", 2'000'000), Removal::Trash)},
             "2 MB moved to the Trash",
             std::nullopt,
             1},
            {"both",
             {request(file("c", 1'500'000), Removal::Permanent),
              request(file("d", 2'000'000), Removal::Trash)},
             "1.5 MB freed · 2 MB in the Trash",
             std::nullopt,
             1},
            {"nothing won",
             {request(file("e", 0), Removal::Permanent)},
             "Zero KB freed",
             std::nullopt,
             0},
            {"one failure",
             {request(file("g", 1'000'000), Removal::Permanent),
              request(missing, Removal::Permanent)},
             "1 MB freed",
             "1 item(s) couldn't be deleted. Details in History.",
             0},
            {"nothing deleted",
             {request(missing, Removal::Trash), request(documents, Removal::Trash)},
             "Nothing was deleted",
             "2 item(s) couldn't be deleted. Details in History.",
             0},
        };
        for (const MessageCase& message : cases) {
            const DeletionReport report = f.run(state, message.requests);
            QVERIFY2(state.toast().has_value(), message.name);
            QVERIFY2(state.toast()->message == message.message,
                     qPrintable(message.name + (": " + state.toast()->message)));
            QVERIFY2(state.toast()->detail == message.detail, message.name);
            QVERIFY2(state.toast()->undoable.size() == message.undoable, message.name);
            // The failures are this run's alone, protected skips last.
            std::vector<DeletionFailure> failures = report.failures;
            failures.insert(failures.end(), report.skippedProtected.begin(),
                            report.skippedProtected.end());
            QVERIFY2(state.failures() == failures, message.name);
        }
        QCOMPARE(state.failures().size(), std::size_t{2});
        QCOMPARE(state.failures()[0].path, missing);
        QCOMPARE(state.failures()[1].path, documents);
        QVERIFY(exists(documents));
    }

    // The plan measured a big file; by the time it goes it has been replaced by a small one,
    // and the toast and the history credit only that.
    void theToastAndTheHistoryCreditWhatWasRemoved() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file =
            f.fixture.tree.allocatedFile("Users/a/Downloads/big.bin", 1'000'000);
        state.requestDeletion("Delete", {f.item(file, 1'000'000)});
        QCOMPARE(state.plan()->items.front().verdict.risk, Risk::Safe);
        std::filesystem::remove(file);
        f.fixture.tree.file("Users/a/Downloads/big.bin", "small");
        const std::int64_t small = test::allocated(file);
        QVERIFY(small < 1'000'000);

        QSignalSpy toast(&state, &AppState::toastChanged);
        // A view that follows the announcement finds the run in the history already.
        std::size_t recordedAtToast = 0;
        connect(&state, &AppState::toastChanged, this,
                [&] { recordedAtToast = state.history().entries().size(); });
        state.performDeletion(*state.plan(), false);
        QVERIFY(toast.wait());
        QCOMPARE(recordedAtToast, std::size_t{1});
        QVERIFY(state.failures().empty());
        QCOMPARE(state.toast()->message, byteText(small) + " moved to the Trash");
        QCOMPARE(state.history().entries().front().size, small);
    }

    void aSilentRunShowsNothingButRecordsItsHistory() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.allocatedFile("Users/a/Downloads/a", 4'096);
        state.setToast(
            Toast{.id = Uuid::random(), .message = "Shown", .detail = {}, .undoable = {}});
        const Toast shown = *state.toast();
        QSignalSpy history(&state, &AppState::historyChanged);

        const DeletionReport report = f.run(state, {request(file, Removal::Trash)}, true);
        QCOMPARE(report.movedToTrash, std::int64_t{4'096});
        QCOMPARE(state.toast(), std::optional(shown));
        QVERIFY(state.failures().empty());
        QCOMPARE(history.count(), 1);
        QCOMPARE(state.history().entries().size(), std::size_t{1});
    }

    void protectedItemsNeverReachTheEngineAndReviewItemsNeedTheAcknowledgement() {
        RoadFixture f;
        AppState state(f.services);
        const std::string documents = f.fixture.tree.folder("Users/a/Documents");
        const std::string download = f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 4'096);
        const std::string personal = f.fixture.tree.allocatedFile("Users/a/Projects/b.txt", 4'096);

        state.requestDeletion("Protected", {f.item(documents, 100)});
        QCOMPARE(state.plan()->items.front().verdict.risk, Risk::Protected);
        QSignalSpy toast(&state, &AppState::toastChanged);
        state.performDeletion(*state.plan(), true);
        QVERIFY(!state.plan().has_value());
        QVERIFY(toast.wait());
        QCOMPARE(state.toast()->message, QString("Nothing was deleted"));
        QVERIFY(!state.toast()->detail.has_value());
        QVERIFY(state.failures().empty());
        QVERIFY(exists(documents));

        state.requestDeletion("Mixed", {f.item(download, 100), f.item(personal, 100)});
        QCOMPARE(state.plan()->items.back().verdict.risk, Risk::Review);
        state.performDeletion(*state.plan(), false);
        QVERIFY(toast.wait());
        QVERIFY(!exists(download));
        QVERIFY(exists(personal));
        QCOMPARE(state.toast()->message, QString("4 KB moved to the Trash"));
        QVERIFY(!state.toast()->detail.has_value());
        QVERIFY(state.failures().empty());
    }

    // The plan showed the item as safe, so the user did not need to include review items;
    // by the time it is deleted its verdict asks for review, so it stays.
    void anItemShownSafeThatNowNeedsReviewStays() {
        RoadFixture f;
        AppState state(f.services);
        const std::string personal = f.fixture.tree.file("Users/a/Projects/b.txt", "b");
        PlanItem shown = f.item(personal, 1);
        QCOMPARE(shown.verdict.risk, Risk::Review);
        shown.verdict = SafetyVerdict{.risk = Risk::Safe, .reason = "Shown as safe."};
        state.requestDeletion("Delete", {shown});
        QSignalSpy toast(&state, &AppState::toastChanged);
        state.performDeletion(*state.plan(), false);
        QVERIFY(toast.wait());
        QVERIFY(exists(personal));
        QCOMPARE(state.toast()->message, QString("Nothing was deleted"));
        QCOMPARE(state.failures().size(), std::size_t{1});
        QCOMPARE(state.failures().front().reason, f.fixture.safety.verdict(personal).reason);
    }

    void permanentDeleteRemovesATrashItemOutright() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 2'000'000);
        state.setPermanentDelete(true);
        state.requestDeletion("Delete", {f.item(file, 2'000'000, Removal::Trash)});
        QSignalSpy toast(&state, &AppState::toastChanged);
        state.performDeletion(*state.plan(), false);
        QVERIFY(toast.wait());
        QVERIFY(!exists(file));
        QCOMPARE(state.toast()->message, QString("2 MB freed"));
        QVERIFY(state.toast()->undoable.empty());
        QVERIFY(!state.history().entries().front().trashPath.has_value());
        QVERIFY(!exists(f.fixture.locations.trashFolder() + "/a.zip"));
    }

    void aPlanIsCarriedOutOnlyOnce() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 1'000'000);
        state.requestDeletion("Delete", {f.item(file, 1'000'000)});
        const DeletionPlan plan = *state.plan();

        // A plan that is not the one shown is ignored.
        DeletionPlan other = plan;
        other.id = Uuid::random();
        state.performDeletion(other, true);
        QVERIFY(state.plan().has_value());
        QCOMPARE(state.plan()->id, plan.id);

        QSignalSpy toast(&state, &AppState::toastChanged);
        state.performDeletion(plan, true);
        state.performDeletion(plan, true);
        QVERIFY(toast.wait());
        QVERIFY(workerPool().waitForDone(30'000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(toast.count(), 1);
        QCOMPARE(state.toast()->message, QString("1 MB moved to the Trash"));
        QCOMPARE(state.toast()->undoable.size(), std::size_t{1});
        QCOMPARE(state.history().entries().size(), std::size_t{1});
    }

    void removeDeletedTakesAnItemOffItsAncestorsOnce() {
        for (const std::string root : {"/r", "/"}) {
            RoadFixture f;
            AppState state(f.services);
            test::AppStateAccess(state).setScan(smallTree(root), std::nullopt);
            const ScanResult& scan = *state.scan();
            const FileNode* a = child(scan.root, "A");
            const FileNode* f1 = child(child(a, "B"), "f.pdf");
            const std::string aPath = joinPath(root, "A");
            QSignalSpy scanChanged(&state, &AppState::scanChanged);

            state.removeDeleted({joinPath(root, "A/B/f.pdf")});
            QVERIFY(f1->deleted());
            QCOMPARE(a->size(), std::int64_t{2'000});
            QCOMPARE(scan.root->size(), std::int64_t{6'000});
            QCOMPARE(scan.root->fileCount(), std::int64_t{2});
            QCOMPARE(bucketTotal(scan, StorageBucket::Documents), std::int64_t{2'000});
            QCOMPARE(state.revision(), std::int64_t{2});
            QCOMPARE(scanChanged.count(), 1);

            state.removeDeleted({aPath});
            QCOMPARE(scan.root->size(), std::int64_t{4'000});
            QCOMPARE(bucketTotal(scan, StorageBucket::Documents), std::int64_t{0});

            // Named again (restored and deleted a second time before a new scan), or named
            // inside a deleted folder: no figure moves, but the revision still rises.
            const SignalRecorder recorder(state);
            state.removeDeleted({aPath, joinPath(root, "A/g.pdf"), joinPath(root, "A/B/f.pdf")});
            QCOMPARE(scan.root->size(), std::int64_t{4'000});
            QCOMPARE(scan.root->fileCount(), std::int64_t{1});
            QCOMPARE(bucketTotal(scan, StorageBucket::Video), std::int64_t{4'000});
            QCOMPARE(recorder.emitted(), QList<QByteArray>{"revisionChanged"});
            QCOMPARE(state.revision(), std::int64_t{4});

            state.removeDeleted({});
            QCOMPARE(state.revision(), std::int64_t{4});
        }
    }

    // The explorer goes back to its deepest folder still there, never below the root, and
    // stays where it is when nothing it shows went.
    void theExplorerStackIsCutToItsDeepestLiveFolder() {
        struct Case {
            const char* deleted;
            std::size_t kept;
        };
        for (const Case& cut : {Case{"/r/A/B", 2}, Case{"/r/h.mov", 3}, Case{"/r", 1}}) {
            RoadFixture f;
            AppState state(f.services);
            test::AppStateAccess(state).setScan(smallTree("/r"), std::nullopt);
            const FileNode* root = state.scan()->root;
            const FileNode* a = child(root, "A");
            const std::vector<const FileNode*> stack{root, a, child(a, "B")};
            state.setExplorerStack(stack);
            QSignalSpy changed(&state, &AppState::explorerStackChanged);
            state.removeDeleted({cut.deleted});
            QVERIFY2(state.explorerStack() ==
                         std::vector<const FileNode*>(stack.begin(), stack.begin() + cut.kept),
                     cut.deleted);
            QCOMPARE(changed.count(), cut.kept == stack.size() ? 0 : 1);
        }
    }

    void everythingInsideADeletedFolderLeavesEveryList() {
        RoadFixture f;
        AppState state(f.services);
        test::AppStateAccess(state).setScan(smallTree("/r"), std::nullopt);
        const FileNode* root = state.scan()->root;
        const FileNode* a = child(root, "A");
        test::AppStateAccess(state).setApps(
            {InstalledApp{.path = "/r/A/X.app"}, InstalledApp{.path = "/r/Y.app"}});
        test::AppStateAccess(state).setLeftovers(
            {Leftover{.path = "/r/A"}, Leftover{.path = "/r/AB"}});
        JunkFinding finding{.rule = JunkRule::all().front(), .items = {}};
        finding.items = {JunkItem{.id = "/r/A/B/cache"}, JunkItem{.id = "/r/h.mov"}};
        JunkFinding emptied{.rule = JunkRule::all().back(), .items = {JunkItem{.id = "/r/A/old"}}};
        test::AppStateAccess(state).setJunk({finding, emptied});
        const FileNode* h = child(root, "h.mov");
        const FileNode* g = child(a, "g.pdf");
        const FileNode* f1 = child(child(a, "B"), "f.pdf");
        test::AppStateAccess(state).setDuplicates(
            {DuplicateGroup{.id = "x", .size = 1, .files = {f1, g, h}},
             DuplicateGroup{.id = "y", .size = 1, .files = {g, f1}}});
        state.setExplorerStack({root, a, child(a, "B")});
        const SignalRecorder recorder(state);

        state.removeDeleted({"/r/A"});
        QCOMPARE(recorder.emitted(),
                 (QList<QByteArray>{"scanChanged", "explorerStackChanged", "appsChanged",
                                    "leftoversChanged", "junkChanged", "duplicatesChanged",
                                    "revisionChanged"}));
        QCOMPARE(state.explorerStack(), std::vector<const FileNode*>{root});
        QVERIFY(g->deleted() && f1->deleted() && !h->deleted());
        QCOMPARE(state.apps().size(), std::size_t{1});
        QCOMPARE(state.apps().front().path, std::string("/r/Y.app"));
        QCOMPARE(state.leftovers().size(), std::size_t{1});
        QCOMPARE(state.leftovers().front().path, std::string("/r/AB"));
        QCOMPARE(state.junk().size(), std::size_t{2});
        QCOMPARE(state.junk().front().items.size(), std::size_t{1});
        QCOMPARE(state.junk().front().items.front().id, std::string("/r/h.mov"));
        QVERIFY(state.junk().back().items.empty());
        QVERIFY(state.duplicates().empty());
    }

    void aDuplicateGroupLosesTheCopiesThatWereDeleted() {
        RoadFixture f;
        for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
            f.fixture.tree.allocatedFile(std::string("Users/a/Copies/") + name, 2'097'152);
        }
        AppState state(f.services);
        QSignalSpy scanned(&state, &AppState::scanChanged);
        state.startScan(ScanTarget::folder(f.fixture.tree.path("Users/a/Copies")));
        QVERIFY(scanned.wait());
        QSignalSpy duplicates(&state, &AppState::duplicatesChanged);
        state.findDuplicates();
        QVERIFY(duplicates.wait());
        QCOMPARE(state.duplicates().size(), std::size_t{1});
        const std::vector<const FileNode*> files = state.duplicates().front().files;
        QCOMPARE(files.size(), std::size_t{3});

        const auto deleteFile = [&](const FileNode* file) {
            state.requestDeletion("Delete", {f.item(file->path(), file->size())});
            QSignalSpy toast(&state, &AppState::toastChanged);
            state.performDeletion(*state.plan(), true);
            return toast.wait();
        };
        QVERIFY(deleteFile(files[1]));
        QCOMPARE(state.duplicates().size(), std::size_t{1});
        QCOMPARE(state.duplicates().front().files,
                 (std::vector<const FileNode*>{files[0], files[2]}));
        QVERIFY(deleteFile(files[2]));
        QVERIFY(state.duplicates().empty());
    }

    void anUndoBringsTheItemBackByteForByte() {
        RoadFixture f;
        AppState state(f.services);
        const std::string bytes("first line\n\0\xff\xfe binary tail", 26);
        const std::string file = f.fixture.tree.file("Users/a/Projects/notes \xe9.txt", bytes);
        f.run(state, {request(file, Removal::Trash)});
        QVERIFY(!exists(file));
        const std::vector<HistoryEntry> undo = state.toast()->undoable;
        QCOMPARE(undo.size(), std::size_t{1});

        state.restore(undo);
        QCOMPARE(contentsOf(file), bytes);
        QCOMPARE(state.toast()->message, QString("1 item(s) restored"));
        QCOMPARE(state.toast()->detail, std::optional<QString>("Scan again to see updated sizes."));
        QVERIFY(state.toast()->undoable.empty());
        QVERIFY(state.history().entries().front().restored);

        // A second Undo of the same toast finds it restored already.
        QCOMPARE(state.restore(undo), 0);
        QCOMPARE(state.toast()->message, QString("0 item(s) restored"));
        QCOMPARE(state.toast()->detail, std::optional<QString>("The item was restored already."));
        QCOMPARE(contentsOf(file), bytes);
    }

    // A restore from the history's own page says nothing in a toast, but the history and the
    // volume follow as after an Undo.
    void aSilentRestoreLeavesTheToastAlone() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.file("Users/a/Projects/a.txt", "a");
        f.run(state, {request(file, Removal::Trash)});
        const std::optional<Toast> shown = state.toast();
        QSignalSpy history(&state, &AppState::historyChanged);
        QSignalSpy volume(&state, &AppState::volumeChanged);

        QCOMPARE(state.restore(state.history().entries(), AppState::RestoreFeedback::Silent), 1);
        QVERIFY(exists(file));
        QCOMPARE(state.toast(), shown);
        QVERIFY(state.history().entries().front().restored);
        QCOMPARE(history.count(), 1);
        QCOMPARE(volume.count(), 1);
    }

    void anUndoNeverReplacesWhatStandsAtTheOriginalPath() {
        RoadFixture f;
        AppState state(f.services);
        const auto make = [&f](const char* name) {
            return f.fixture.tree.file(std::string("Users/a/Projects/") + name, name);
        };
        const std::string replaced = make("replaced");
        const std::string linked = make("linked");
        const std::string emptied = make("emptied");
        const std::string restored = make("restored");
        f.run(state, {request(replaced, Removal::Trash), request(linked, Removal::Trash),
                      request(emptied, Removal::Trash), request(restored, Removal::Trash)});
        const std::vector<HistoryEntry> undo = state.toast()->undoable;
        QCOMPARE(undo.size(), std::size_t{4});

        f.fixture.tree.file("Users/a/Projects/replaced", "new");
        f.fixture.tree.symlink("/nowhere/at/all", "Users/a/Projects/linked");
        std::filesystem::remove(*undo[2].trashPath);

        state.restore(undo);
        QCOMPARE(state.toast()->message, QString("1 item(s) restored"));
        // The first entry skipped gives its reason.
        QCOMPARE(state.toast()->detail,
                 std::optional<QString>("Something now stands at the item’s original place, so "
                                        "it stays in the Trash. Scan again to see updated sizes."));
        QCOMPARE(contentsOf(replaced), std::string("new"));
        QVERIFY(test::isLink(linked));
        QVERIFY(exists(*undo[0].trashPath) && exists(*undo[1].trashPath));
        QCOMPARE(contentsOf(restored), std::string("restored"));
        std::vector<bool> marked;
        for (const HistoryEntry& entry : undo) {
            for (const HistoryEntry& listed : state.history().entries()) {
                if (listed.id == entry.id) {
                    marked.push_back(listed.restored);
                }
            }
        }
        QCOMPARE(marked, (std::vector<bool>{false, false, false, true}));
    }

    void anUndoThatRestoresNothingSaysWhy() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.file("Users/a/Projects/gone", "gone");
        f.run(state, {request(file, Removal::Trash)});
        const std::vector<HistoryEntry> undo = state.toast()->undoable;
        QCOMPARE(undo.size(), std::size_t{1});
        std::filesystem::remove(*undo[0].trashPath);

        state.restore(undo);
        QCOMPARE(state.toast()->message, QString("0 item(s) restored"));
        QCOMPARE(state.toast()->detail,
                 std::optional<QString>("The item is no longer in the Trash."));
    }

    void quittingWaitsForARunToRecordItsHistory() {
        RoadFixture f;
        AppState state(f.services);
        const std::string file = f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 4'096);
        state.requestDeletion("Delete", {f.item(file, 4'096)});
        state.performDeletion(*state.plan(), false);
        // Nothing has gone back to the event loop: the run cannot have ended yet.
        QVERIFY(state.history().entries().empty());

        state.prepareToQuit();
        QCOMPARE(state.history().entries().size(), std::size_t{1});
        QVERIFY(state.history().entries().front().trashPath.has_value());
        state.prepareToQuit();
    }

    void uninstallAsksForTheBundleAndItsDataInTheLibrary() {
        RoadFixture f;
        AppState state(f.services);
        const std::string bundle = f.fixture.tree.path("Users/a/Applications/Foo.app");
        const std::string caches = f.fixture.tree.path("Users/a/Library/Caches/com.foo");
        InstalledApp app{.path = bundle, .name = "Foo", .appSize = 1'000};
        app.related = {RelatedItem{.path = caches, .label = "Caches", .size = 20},
                       RelatedItem{.path = bundle + "/Contents/Helper", .label = "Odd", .size = 1}};
        QSignalSpy planned(&state, &AppState::planChanged);
        state.uninstall(app);

        // The bundle's verdict reads its Info.plist and the running processes, so it is
        // computed on the pool and the sheet opens once, with every verdict in place.
        QVERIFY(!state.plan().has_value());
        QTRY_VERIFY(state.plan().has_value());
        QCOMPARE(planned.count(), 1);
        QCOMPARE(state.plan()->title, QString("Uninstall Foo"));
        const std::vector<PlanItem>& items = state.plan()->items;
        QCOMPARE(paths(items), (std::vector<std::string>{bundle, caches}));
        QCOMPARE(items[0].name, std::string("Foo"));
        QCOMPARE(items[0].size, std::int64_t{1'000});
        QCOMPARE(items[1].name, std::string("Caches · com.foo"));
        QCOMPARE(items[1].size, std::int64_t{20});
        for (const PlanItem& item : items) {
            QCOMPARE(item.removal, Removal::Trash);
            QCOMPARE(item.verdict, f.fixture.safety.verdict(item.path));
        }
    }

    void planRequestedWhileVerdictsAreComputedSupersedesThem() {
        RoadFixture f;
        AppState state(f.services);
        state.uninstall(InstalledApp{.path = f.fixture.tree.path("Users/a/Applications/Foo.app"),
                                     .name = "Foo"});
        state.requestDeletion("Later", {PlanItem{{.path = f.fixture.tree.path("Users/a/x")}}});

        QVERIFY(workerPool().waitForDone(5'000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(state.plan()->title, QString("Later"));
    }
};

} // namespace

DORVALE_QT_TEST(DeletionRoadTest)

} // namespace dorvale

#include "DeletionRoadTest.moc"
