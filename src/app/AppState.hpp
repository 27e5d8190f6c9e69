#pragma once

#include "app/AppSection.hpp"
#include "app/AppServices.hpp"
#include "app/BackgroundServices.hpp"
#include "app/DeletionPlan.hpp"
#include "app/ScanTarget.hpp"
#include "app/SettingsStore.hpp"
#include "app/SmartPhase.hpp"
#include "app/Toast.hpp"
#include "inventory/DevItem.hpp"
#include "inventory/InstalledApp.hpp"
#include "inventory/Leftover.hpp"
#include "inventory/Recommendation.hpp"
#include "model/DeletionEngine.hpp"
#include "model/DeletionHistory.hpp"
#include "model/DeletionReport.hpp"
#include "model/DeletionRequest.hpp"
#include "model/DuplicateGroup.hpp"
#include "model/FileFilter.hpp"
#include "model/FileNode.hpp"
#include "model/JunkFinding.hpp"
#include "model/ScanProgressSnapshot.hpp"
#include "model/ScanResult.hpp"
#include "model/Scanner.hpp"
#include "model/StorageBucket.hpp"
#include "platform/VolumeInfo.hpp"

#include <QElapsedTimer>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class QEventLoop;

namespace dorvale {

namespace test {
class AppStateAccess;
}

/// The one shared state of the application: what every page shows, and every operation a
/// user can start. Made once by the application and kept for the whole run.
///
/// Threads: lives on the GUI thread; only the GUI thread reads or changes it, or touches the
/// nodes of its scan. Work that blocks runs on the worker pool and comes back with
/// `runInBackground`; a result from a scan that is no longer the current one is dropped.
///
/// Published members each have a getter `x()`, a setter `setX()` and an argument-free
/// `xChanged()` signal. A setter emits on every call, even with an equal value. Only the
/// members that views set by design have public setters (the section, the large-files
/// filter, the explorer stack, the smart-clean selection, the plan, the toast and the access
/// onboarding, besides the settings); the others are set by this object's own operations,
/// and tests reach their setters through `test::AppStateAccess`. Operations
/// that change several members assign them all before they emit, so no slot sees half a
/// state. The members backed by settings (`excludedRaw`, `permanentDelete`,
/// `accessOnboardingSkipped`) read the setting at each call and emit their signal whenever
/// the setting is written through the settings store, by this object or anyone else.
///
/// The scan tree is shared: `scan()` hands out the current result. Whatever keeps one of its
/// nodes past the current event keeps that pointer too, or drops its nodes on `scanChanged`
/// and `revisionChanged`.
class AppState final : public QObject {
    Q_OBJECT

public:
    /// Starts up in this order: the volume of "/", the access probe and the smart-clean
    /// selection; the settings connections; the deletion history (loaded from its file); the
    /// background services (not started); the "initialSection" setting; and the "autoScan"
    /// setting, which may start a scan or raise the access onboarding at once.
    explicit AppState(AppServices services, QObject* parent = nullptr);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    [[nodiscard]] const AppServices& services() const { return m_services; }
    /// The settings, for a view that owns a key of its own; members owned here are read and
    /// written through this object instead.
    [[nodiscard]] SettingsStore& settingsStore() { return *m_settings; }
    /// The record of every removed item, newest first, to read: it changes only through this
    /// object's operations (`runDeletion`, `restore`, `clearHistory`), and `historyChanged`
    /// tells of every change.
    [[nodiscard]] const DeletionHistory& history() const { return *m_history; }
    [[nodiscard]] BackgroundServices& background() { return *m_background; }

    // Published members.

    /// The section shown; `SmartClean` unless "initialSection" names another.
    [[nodiscard]] AppSection section() const { return m_section; }
    void setSection(AppSection section);
    /// The target of the next or running scan; set also by a scan that was refused.
    [[nodiscard]] const ScanTarget& scanTarget() const { return m_scanTarget; }
    [[nodiscard]] bool isScanning() const { return m_isScanning; }
    /// Progress of the running scan, or of the last one.
    [[nodiscard]] const ScanProgressSnapshot& progress() const { return m_progress; }
    /// The last finished scan, or nothing.
    [[nodiscard]] std::shared_ptr<const ScanResult> scan() const { return m_scan; }
    /// What the shown result was scanned for; views describe the result by it, never by
    /// `scanTarget`. Set together with `scan` and announced by `scanChanged`.
    [[nodiscard]] const std::optional<ScanTarget>& scannedTarget() const { return m_scannedTarget; }
    /// Rises by one for each published result and each removal of deleted items.
    [[nodiscard]] std::int64_t revision() const { return m_revision; }
    /// Capacities of the volume holding "/"; nothing when they cannot be read.
    [[nodiscard]] const std::optional<VolumeInfo>& volume() const { return m_volume; }
    /// The explorer's folders from the scan root to the one shown, all nodes of `scan()`.
    [[nodiscard]] const std::vector<const FileNode*>& explorerStack() const {
        return m_explorerStack;
    }
    void setExplorerStack(std::vector<const FileNode*> stack);
    /// The filter of the large-files page; every criterion empty at first.
    [[nodiscard]] const FileFilter& largeFilter() const { return m_largeFilter; }
    void setLargeFilter(FileFilter filter);
    [[nodiscard]] const std::vector<InstalledApp>& apps() const { return m_apps; }
    /// Whether a load of the applications is in flight; of overlapping loads, the last to
    /// end turns it off.
    [[nodiscard]] bool appsLoading() const { return m_appsLoads > 0; }
    [[nodiscard]] const std::vector<Leftover>& leftovers() const { return m_leftovers; }
    [[nodiscard]] bool leftoversLoading() const { return m_leftoversLoads > 0; }
    /// The findings of the last junk scan, one per rule.
    [[nodiscard]] const std::vector<JunkFinding>& junk() const { return m_junk; }
    [[nodiscard]] bool junkLoading() const { return m_junkLoads > 0; }
    [[nodiscard]] SmartPhase smartPhase() const { return m_smartPhase; }
    /// Ids of the junk rules whose findings the smart clean removes; at first every rule of
    /// the catalogue that belongs to the smart clean.
    [[nodiscard]] const std::set<std::string>& smartSelection() const { return m_smartSelection; }
    void setSmartSelection(std::set<std::string> ruleIds);
    /// The report of the last smart clean.
    [[nodiscard]] const std::optional<DeletionReport>& lastReport() const { return m_lastReport; }
    /// Groups of the last duplicate search, over nodes of `scan()`.
    [[nodiscard]] const std::vector<DuplicateGroup>& duplicates() const { return m_duplicates; }
    /// Fraction done of the running duplicate search; nothing when none runs.
    [[nodiscard]] const std::optional<double>& duplicatesProgress() const {
        return m_duplicatesProgress;
    }
    /// A plan opens the deletion confirmation sheet; clearing it closes the sheet.
    [[nodiscard]] const std::optional<DeletionPlan>& plan() const { return m_plan; }
    void setPlan(std::optional<DeletionPlan> plan);
    [[nodiscard]] const std::optional<Toast>& toast() const { return m_toast; }
    void setToast(std::optional<Toast> toast);
    /// The last answer of the access probe.
    [[nodiscard]] bool hasFullDiskAccess() const { return m_hasFullDiskAccess; }
    /// Raises the full disk access onboarding sheet.
    [[nodiscard]] bool showAccessOnboarding() const { return m_showAccessOnboarding; }
    void setShowAccessOnboarding(bool shown);
    /// Failures of the last interactive deletion run, protected skips last.
    [[nodiscard]] const std::vector<DeletionFailure>& failures() const { return m_failures; }

    // Members backed by settings.

    /// "excludedPaths": excluded folders, one path per line; "" when missing.
    [[nodiscard]] std::string excludedRaw() const;
    /// "permanentDelete": delete outright instead of moving to the Trash; false when missing.
    [[nodiscard]] bool permanentDelete() const;
    void setPermanentDelete(bool permanent);
    /// "accessOnboardingSkipped": scan the whole disk or home without full disk access;
    /// false when missing.
    [[nodiscard]] bool accessOnboardingSkipped() const;
    void setAccessOnboardingSkipped(bool skipped);

    // Scan control.

    /// The lines of `excludedRaw`, in stored order: split at each line feed, empty lines
    /// dropped, nothing trimmed, duplicates kept.
    [[nodiscard]] std::vector<std::string> excludedPaths() const;
    /// Stores the paths as `excludedRaw`, one per line. A path holding a line feed cannot be
    /// stored that way: then nothing is written and the answer is false.
    bool setExcludedPaths(const std::vector<std::string>& paths);
    /// Reads the capacities of "/" again and publishes them as `volume`, the one volume every
    /// view shows. The end of each scan and each deletion run reads them too, and so does
    /// each tick of the background services.
    void refreshVolume();
    /// Asks the access probe again and publishes its answer as `hasFullDiskAccess`. The probe
    /// only looks at two folders, so it is quick enough for the GUI thread.
    void recheckFullDiskAccess();
    /// Scans `target` (the current `scanTarget` again when none is given). The whole disk and
    /// the home folder need full disk access unless the user skipped the onboarding: without
    /// it the onboarding is raised instead and nothing else changes. Otherwise a running scan
    /// is cancelled and a new one starts on a worker with the exclusions as they are now; its
    /// progress and result come back on the GUI thread. Returns at once.
    void startScan(std::optional<ScanTarget> target = std::nullopt);
    /// Cancels the running scan, if any: its result and later progress are dropped, and the
    /// previous result stays.
    void cancelScan();
    /// Called as the application quits: cancels a running scan so that no walk holds up the
    /// end of the process, and while a deletion run is in flight, runs the event loop until it
    /// has ended, for up to 30 seconds, so that its history is recorded and every item it put
    /// in the Trash keeps its Undo; then writes the history changes whose write failed.
    void prepareToQuit();

    // The deletion road: every deletion of the program goes through these.

    /// Told on the GUI thread with the report of a run, after everything is published.
    using DeletionCompletion = std::function<void(const DeletionReport&)>;

    /// Opens the confirmation sheet for `items`, each with the verdict its caller computed.
    /// An item that lies inside another item of the list (by whole path components) is left
    /// out, items with the same path all stay, and the order is kept. A new plan replaces one
    /// still shown. Nothing at all happens for an empty list.
    void requestDeletion(QString title, std::vector<PlanItem> items);
    /// Opens the confirmation sheet for `candidates`, each with its verdict of this moment, as
    /// `requestDeletion` does. Verdicts that read the disk (those of application bundles) are
    /// computed on the worker pool and the sheet opens once, when all of them are ready; a
    /// plan requested in the meantime supersedes this one.
    void planDeletion(QString title, std::vector<PlanCandidate> candidates);
    /// The sheet's confirmation: deletes the plan's safe items, and its review items too when
    /// `includeReview`; protected items never. With "permanentDelete" on, every item is
    /// deleted outright, otherwise each in its own way. Clears the plan and starts the run,
    /// which ends with a toast even when nothing was kept ("Nothing was deleted"). Acts only
    /// on the current plan: a plan whose id is not that of `plan()` is ignored, so a second
    /// confirmation of the same sheet deletes nothing.
    void performDeletion(const DeletionPlan& plan, bool includeReview);
    /// Carries out `requests` with the deletion engine on a worker and returns at once. Back
    /// on the GUI thread it records the history entries (always, even none), takes the deleted
    /// paths out of the tree and the lists, and reads the volume again; unless `silently`, it
    /// then shows the result toast, with the Undo of the items moved to the Trash, and
    /// replaces `failures` with the run's failures followed by its protected skips. Runs may
    /// overlap; each publishes its own end.
    void runDeletion(std::vector<DeletionRequest> requests, bool silently,
                     DeletionCompletion done = {});
    /// Takes items deleted on disk out of what is shown: marks their nodes in the scan deleted
    /// (a node already deleted, or inside a deleted folder, changes no figure), cuts the
    /// explorer stack back to its deepest live folder (never below the root), drops the items
    /// and whatever lies inside them from `apps`, `leftovers` and the junk findings' items (an
    /// emptied finding stays), keeps only the live files of each duplicate group and the
    /// groups with two or more, and raises `revision`. Emits the signals of what changed, then
    /// `revisionChanged`. An empty set changes nothing.
    void removeDeleted(const std::unordered_set<std::string>& paths);
    /// Whether a restore tells the user in a toast how many items came back.
    enum class RestoreFeedback { Toast, Silent };

    /// Moves the entries' items back from the Trash, each to its original path, reads the
    /// volume again and, unless `feedback` is `Silent`, shows how many came back; answers
    /// that number. An entry is skipped, untouched and not marked restored, when it was
    /// restored already, has no Trash path, its item is gone from the Trash, something
    /// (a dangling link included) stands at its original path, or the move fails; a toast
    /// then gives the first such reason. The tree and the lists stay as they are until the
    /// next scan.
    std::int64_t restore(const std::vector<HistoryEntry>& entries,
                         RestoreFeedback feedback = RestoreFeedback::Toast);
    /// Empties the deletion history and saves it; the items stay where they are.
    void clearHistory();
    /// Asks to delete the application's bundle and its data in the Library, all to the Trash.
    void uninstall(const InstalledApp& app);

    // Inventories, junk, duplicates and the smart clean.

    /// Told on the GUI thread with the findings a junk scan published.
    using JunkCompletion = std::function<void(const std::vector<JunkFinding>&)>;

    /// Loads the installed applications on a worker, unless `force` is false and they are
    /// loaded or loading already. Of loads that overlap, the last to finish sets `apps`.
    void loadApps(bool force);
    /// Looks for the data of removed applications on a worker, loading the applications first
    /// when none are; does nothing while a search runs.
    void loadLeftovers();
    /// Scans the whole junk catalogue on a worker and publishes the findings. Scans may
    /// overlap; the last to finish wins.
    void loadJunk(JunkCompletion done = {});
    /// Starts the smart clean from the user's side: shows its section and, unless it is
    /// scanning or cleaning already, sets the scanning stage and runs `runSmartScan`. A
    /// request while it scans or cleans only shows the section, so the same items are never
    /// cleaned twice.
    void startSmartClean();
    /// The smart clean's junk scan: loads the junk, keeps the scanning stage on screen for at
    /// least the smart-scan floor from the start, then moves on to review. Callers set the
    /// scanning stage first; `startSmartClean` does both.
    void runSmartScan(std::function<void()> done = {});
    /// Takes the smart clean back to its start page from the review or the report ("Start
    /// Over", "Done"); the selection stays. Does nothing while it scans or cleans.
    void returnToSmartStart();
    /// Bytes of every item of the findings whose rule is in `smartSelection`.
    [[nodiscard]] std::int64_t smartSelectionSize() const;
    /// Cleans the findings whose rule is in `smartSelection`, each item in its rule's way
    /// ("permanentDelete" does not apply), as an interactive run with its toast. Keeps the
    /// cleaning stage on screen for at least the smart-clean floor, then sets `lastReport` and
    /// the done stage, then loads the junk again; `done` is told after that. Does nothing when
    /// nothing is selected, or while the smart clean scans or cleans already.
    void cleanJunk(DeletionCompletion done = {});
    /// Searches the files of the current scan for duplicates on a worker, with progress in
    /// `duplicatesProgress`. The files are copied out first; a result or report that arrives
    /// after another search began or another scan was published is dropped (the progress
    /// then ends), and after the result the progress stays none.
    void findDuplicates();
    /// The buckets of the current scan holding bytes, largest first; equal totals in bucket
    /// order. Empty without a scan.
    [[nodiscard]] std::vector<std::pair<StorageBucket, std::int64_t>> overviewComposition() const;

    // The overview's cards and the developer page.

    /// The artefact folders of the current scan, then the developer junk items; unsorted.
    [[nodiscard]] std::vector<DevItem> findDeveloperArtefacts() const;
    /// The overview's recommendation cards over the current scan and junk, largest first.
    [[nodiscard]] std::vector<Recommendation> buildRecommendations() const;
    /// Carries out a card's action: starts the smart clean, asks to delete the card's items
    /// with verdicts computed now, shows a section, or shows the large files with the card's
    /// filter. An explorer chain is applied only while the scan it was built from is still
    /// the current one; otherwise nothing happens.
    void perform(const RecommendationAction& action);

signals:
    void sectionChanged();
    void scanTargetChanged();
    void isScanningChanged();
    void progressChanged();
    void scanChanged();
    void revisionChanged();
    void volumeChanged();
    void explorerStackChanged();
    void largeFilterChanged();
    void appsChanged();
    void appsLoadingChanged();
    void leftoversChanged();
    void leftoversLoadingChanged();
    void junkChanged();
    void junkLoadingChanged();
    void smartPhaseChanged();
    void smartSelectionChanged();
    void lastReportChanged();
    void duplicatesChanged();
    void duplicatesProgressChanged();
    void planChanged();
    void toastChanged();
    void hasFullDiskAccessChanged();
    void showAccessOnboardingChanged();
    void failuresChanged();
    void excludedRawChanged();
    void permanentDeleteChanged();
    void accessOnboardingSkippedChanged();
    /// The deletion history's entries changed.
    void historyChanged();

private:
    friend class test::AppStateAccess;

    // Setters of the members that only the state's own operations set.
    void setScanTarget(ScanTarget target);
    void setScanning(bool scanning);
    void setProgress(ScanProgressSnapshot progress);
    /// Publishes `result` as a finished scan of `target` does: the result, its target, the
    /// explorer at the result's root alone, no duplicate groups, and `revision` one higher.
    /// Nothing of the previous tree is kept. Emits `scanChanged`, `explorerStackChanged`,
    /// `duplicatesChanged` and `revisionChanged`, in that order.
    void setScan(std::shared_ptr<ScanResult> result, std::optional<ScanTarget> target);
    void setRevision(std::int64_t revision);
    void setVolume(std::optional<VolumeInfo> volume);
    void setApps(std::vector<InstalledApp> apps);
    void setLeftovers(std::vector<Leftover> leftovers);
    void setJunk(std::vector<JunkFinding> junk);
    void setSmartPhase(SmartPhase phase);
    void setLastReport(std::optional<DeletionReport> report);
    void setDuplicates(std::vector<DuplicateGroup> groups);
    void setDuplicatesProgress(std::optional<double> fraction);
    void setHasFullDiskAccess(bool granted);
    void setFailures(std::vector<DeletionFailure> failures);
    void setExcludedRaw(std::string raw);

    /// What taking deleted paths out changed.
    struct DeletedChanges {
        bool any = false;
        bool tree = false;
        bool explorerStack = false;
        bool apps = false;
        bool leftovers = false;
        bool junk = false;
        bool duplicates = false;
    };

    template <typename T>
    void assign(T& member, T value, void (AppState::*changed)());
    /// Counts one more load in flight and announces its flag.
    void beginLoad(int& loads, void (AppState::*changed)());
    /// Publishes the data of a load that ended, then its flag, which stays on while another
    /// load runs.
    template <typename T>
    void endLoad(int& loads, T& member, T value, void (AppState::*dataChanged)(),
                 void (AppState::*loadingChanged)());
    void settingChanged(const std::string& key);
    void applyStartupSettings();

    [[nodiscard]] bool accessRefused(const ScanTarget& target) const;
    [[nodiscard]] Scanner::Exclusions scanExclusions() const;
    /// Walks the current target with `scanner` on a worker.
    void runScan(std::shared_ptr<Scanner> scanner);
    /// Progress from a scanner other than the current one is dropped.
    void publishProgress(const std::shared_ptr<Scanner>& scanner, ScanProgressSnapshot snapshot);
    /// The end of a scan job; a scanner other than the current one changes nothing at all.
    void finishScan(const std::shared_ptr<Scanner>& scanner, std::optional<ScanResult> result,
                    const ScanTarget& target);
    /// Takes `result` as the current tree without emitting.
    void adoptResult(std::shared_ptr<ScanResult> result, std::optional<ScanTarget> target);
    void emitResultChanged();
    [[nodiscard]] std::int64_t nextRevision() const;

    /// Takes the deleted paths (normalised) out of the members without emitting.
    DeletedChanges takeOutDeleted(const std::unordered_set<std::string>& paths);
    [[nodiscard]] bool markDeletedNodes(const std::unordered_set<std::string>& paths);
    [[nodiscard]] bool cutExplorerStack();
    void emitDeleted(const DeletedChanges& changes);
    /// Keeps the live files of each group and the groups still holding two; answers whether
    /// anything changed.
    static bool keepLiveCopies(std::vector<DuplicateGroup>& groups);
    /// The end of a deletion run, on the GUI thread.
    void finishDeletion(DeletionOutcome outcome, bool silently, const DeletionCompletion& done);
    // Nothing when the entry was restored, otherwise why it was not.
    [[nodiscard]] std::optional<QString> restoreEntry(const HistoryEntry& entry);
    void searchLeftovers();
    void publishDuplicatesProgress(std::uint64_t generation, const ScanResult* scan,
                                   double fraction);
    void finishDuplicates(std::uint64_t generation, const ScanResult* scan,
                          std::vector<DuplicateGroup> groups);
    /// Runs `then` once `floor` has passed since `started`, at once when it has.
    void afterFloor(const QElapsedTimer& started, std::chrono::milliseconds floor,
                    std::function<void()> then);
    void finishSmartClean(const DeletionReport& report, const DeletionCompletion& done);

    AppServices m_services;
    SettingsStore* m_settings;

    AppSection m_section = AppSection::SmartClean;
    ScanTarget m_scanTarget;
    bool m_isScanning = false;
    ScanProgressSnapshot m_progress;
    std::shared_ptr<ScanResult> m_scan;
    std::optional<ScanTarget> m_scannedTarget;
    std::int64_t m_revision = 0;
    std::optional<VolumeInfo> m_volume;
    std::vector<const FileNode*> m_explorerStack;
    FileFilter m_largeFilter;
    // The scanner of the scan that counts; its identity decides whether a finishing scan or a
    // progress report still counts. Each job holds its own copy, so the address of a
    // replaced scanner cannot be reused while a report of it is still on its way.
    std::shared_ptr<Scanner> m_scanner;
    std::vector<InstalledApp> m_apps;
    // Loads in flight; a flag is on while any of its loads runs.
    int m_appsLoads = 0;
    std::vector<Leftover> m_leftovers;
    int m_leftoversLoads = 0;
    std::vector<JunkFinding> m_junk;
    int m_junkLoads = 0;
    SmartPhase m_smartPhase = SmartPhase::Idle;
    std::set<std::string> m_smartSelection;
    std::optional<DeletionReport> m_lastReport;
    std::vector<DuplicateGroup> m_duplicates;
    std::optional<double> m_duplicatesProgress;
    std::optional<DeletionPlan> m_plan;
    std::optional<Toast> m_toast;
    bool m_hasFullDiskAccess = false;
    std::unique_ptr<DeletionHistory> m_history;
    BackgroundServices* m_background = nullptr;
    bool m_showAccessOnboarding = false;
    std::vector<DeletionFailure> m_failures;
    // Deletion runs whose end has not been published yet; quitting waits for them.
    int m_deletionRuns = 0;
    // Counts plans requested, so that verdicts computed on the pool open their plan only if
    // no other was requested meanwhile.
    std::uint64_t m_planGeneration = 0;
    QEventLoop* m_quitWait = nullptr;
    // Rises with each duplicate search and each result, so that only the latest search
    // publishes and no report lands after its result.
    std::uint64_t m_duplicatesGeneration = 0;
};

} // namespace dorvale
