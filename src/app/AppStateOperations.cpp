// The application state's inventories, junk, duplicates, smart clean and overview cards.

#include "app/AppState.hpp"
#include "app/JunkSearch.hpp"
#include "app/RunInBackground.hpp"
#include "inventory/DeveloperArtefacts.hpp"
#include "inventory/Recommendations.hpp"
#include "model/DuplicateFinder.hpp"

#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <utility>
#include <variant>

namespace dorvale {

namespace {

// Files smaller than this are not searched for duplicates.
constexpr std::int64_t duplicateMinimumSize = 1'048'576;

template <typename Function>
void callIfSet(const Function& function, const auto&... arguments) {
    if (function) {
        function(arguments...);
    }
}

// The background job that lists the installed applications, holding copies of what it needs.
auto appsCollector(const AppServices& services) {
    return [collect = services.collectApps, locations = services.locations,
            probe = services.hasFullDiskAccess] {
        return collect(locations, probe);
    };
}

// Carries out the action of an overview card on the state.
struct ActionRunner {
    AppState& state;

    void operator()(const RecommendationActions::StartSmartClean&) const {
        state.startSmartClean();
    }
    // The verdicts are those of this moment, not of when the cards were built.
    void operator()(const RecommendationActions::RequestDeletion& action) const {
        state.planDeletion(QString::fromStdString(action.title), action.items);
    }
    void operator()(const RecommendationActions::OpenSection& action) const {
        if (const auto section = appSectionFromRaw(rawValue(action.section))) {
            state.setSection(*section);
        }
    }
    void operator()(const RecommendationActions::OpenLargeFiles& action) const {
        state.setLargeFilter(action.filter);
        state.setSection(AppSection::Large);
    }
    // The chain names nodes of the scan the card was built from; over another scan it means
    // nothing.
    void operator()(const RecommendationActions::OpenExplorer& action) const {
        if (action.scan == nullptr || action.scan != state.scan()) {
            return;
        }
        state.setExplorerStack(action.stack);
        state.setSection(AppSection::Explorer);
    }
};

} // namespace

void AppState::beginLoad(int& loads, void (AppState::*changed)()) {
    ++loads;
    emit(this->*changed)();
}

template <typename T>
void AppState::endLoad(int& loads, T& member, T value, void (AppState::*dataChanged)(),
                       void (AppState::*loadingChanged)()) {
    member = std::move(value);
    --loads;
    emit(this->*dataChanged)();
    emit(this->*loadingChanged)();
}

void AppState::loadApps(bool force) {
    if (!force && (!m_apps.empty() || appsLoading())) {
        return;
    }
    beginLoad(m_appsLoads, &AppState::appsLoadingChanged);
    runInBackground(this, appsCollector(m_services), [this](std::vector<InstalledApp> apps) {
        endLoad(m_appsLoads, m_apps, std::move(apps), &AppState::appsChanged,
                &AppState::appsLoadingChanged);
    });
}

void AppState::loadLeftovers() {
    if (leftoversLoading()) {
        return;
    }
    beginLoad(m_leftoversLoads, &AppState::leftoversLoadingChanged);
    if (!m_apps.empty()) {
        searchLeftovers();
        return;
    }
    runInBackground(this, appsCollector(m_services), [this](std::vector<InstalledApp> apps) {
        setApps(std::move(apps));
        searchLeftovers();
    });
}

void AppState::searchLeftovers() {
    runInBackground(
        this,
        [find = m_services.findLeftovers, apps = m_apps, locations = m_services.locations,
         workspace = &m_services.workspace,
         probe = m_services.hasFullDiskAccess] { return find(apps, locations, *workspace, probe); },
        [this](std::vector<Leftover> leftovers) {
            endLoad(m_leftoversLoads, m_leftovers, std::move(leftovers),
                    &AppState::leftoversChanged, &AppState::leftoversLoadingChanged);
        });
}

void AppState::loadJunk(JunkCompletion done) {
    beginLoad(m_junkLoads, &AppState::junkLoadingChanged);
    runInBackground(this, junkSearch(m_services, JunkRule::all()),
                    [this, done = std::move(done)](std::vector<JunkFinding> findings) {
                        endLoad(m_junkLoads, m_junk, std::move(findings), &AppState::junkChanged,
                                &AppState::junkLoadingChanged);
                        callIfSet(done, m_junk);
                    });
}

void AppState::startSmartClean() {
    setSection(AppSection::SmartClean);
    if (m_smartPhase == SmartPhase::Scanning || m_smartPhase == SmartPhase::Cleaning) {
        return;
    }
    setSmartPhase(SmartPhase::Scanning);
    runSmartScan();
}

void AppState::returnToSmartStart() {
    if (m_smartPhase == SmartPhase::Review || m_smartPhase == SmartPhase::Done) {
        setSmartPhase(SmartPhase::Idle);
    }
}

void AppState::runSmartScan(std::function<void()> done) {
    QElapsedTimer started;
    started.start();
    loadJunk([this, started, done = std::move(done)](const std::vector<JunkFinding>&) {
        afterFloor(started, m_services.delays.smartScanFloor, [this, done] {
            setSmartPhase(SmartPhase::Review);
            callIfSet(done);
        });
    });
}

void AppState::afterFloor(const QElapsedTimer& started, std::chrono::milliseconds floor,
                          std::function<void()> then) {
    const std::chrono::milliseconds rest = floor - std::chrono::milliseconds(started.elapsed());
    if (rest <= std::chrono::milliseconds::zero()) {
        then();
        return;
    }
    QTimer::singleShot(rest, this, std::move(then));
}

std::int64_t AppState::smartSelectionSize() const {
    std::int64_t total = 0;
    for (const JunkFinding& finding : m_junk) {
        if (!m_smartSelection.contains(finding.id())) {
            continue;
        }
        for (const JunkItem& item : finding.items) {
            if (__builtin_add_overflow(total, item.size, &total)) {
                qFatal("The smart clean's selection size overflowed");
            }
        }
    }
    return total;
}

void AppState::cleanJunk(DeletionCompletion done) {
    if (m_smartPhase == SmartPhase::Scanning || m_smartPhase == SmartPhase::Cleaning) {
        return;
    }
    std::vector<DeletionRequest> requests;
    for (const JunkFinding& finding : m_junk) {
        if (!m_smartSelection.contains(finding.id())) {
            continue;
        }
        for (const JunkItem& item : finding.items) {
            requests.push_back(DeletionRequest{.id = Uuid::random(),
                                               .path = item.id,
                                               .removal = finding.rule.removal,
                                               .confirmedRisk = finding.rule.risk});
        }
    }
    if (requests.empty()) {
        return;
    }
    setSmartPhase(SmartPhase::Cleaning);
    QElapsedTimer started;
    started.start();
    runDeletion(std::move(requests), false,
                [this, started, done = std::move(done)](const DeletionReport& report) {
                    afterFloor(started, m_services.delays.smartCleanFloor,
                               [this, report, done] { finishSmartClean(report, done); });
                });
}

void AppState::finishSmartClean(const DeletionReport& report, const DeletionCompletion& done) {
    m_lastReport = report;
    m_smartPhase = SmartPhase::Done;
    emit lastReportChanged();
    emit smartPhaseChanged();
    // The junk pages show what is left.
    loadJunk([done, report](const std::vector<JunkFinding>&) { callIfSet(done, report); });
}

void AppState::findDuplicates() {
    if (!m_scan) {
        return;
    }
    const std::uint64_t generation = ++m_duplicatesGeneration;
    setDuplicatesProgress(0.0);
    // The job holds the scan so that the nodes its groups name stay alive until it is
    // published or dropped; it reads the figures copied here and, from the nodes, only the
    // names and parents that build their paths.
    std::shared_ptr<const ScanResult> scan = m_scan;
    const QPointer<QObject> guard(this);
    DuplicateFinder::Progress progress = [guard, self = this, generation,
                                          scan = scan.get()](double fraction) {
        postToGui(guard, [self, generation, scan, fraction] {
            self->publishDuplicatesProgress(generation, scan, fraction);
        });
    };
    runInBackground(
        this,
        [find = m_services.findDuplicates,
         candidates = DuplicateFinder::snapshot(m_scan->files, duplicateMinimumSize),
         progress = std::move(progress)]() mutable {
            DuplicateFinder::addPaths(candidates);
            return find(candidates, duplicateMinimumSize, progress);
        },
        [this, generation, scan](std::vector<DuplicateGroup> groups) {
            finishDuplicates(generation, scan.get(), std::move(groups));
        });
}

void AppState::publishDuplicatesProgress(std::uint64_t generation, const ScanResult* scan,
                                         double fraction) {
    if (generation == m_duplicatesGeneration && scan == m_scan.get()) {
        setDuplicatesProgress(fraction);
    }
}

void AppState::finishDuplicates(std::uint64_t generation, const ScanResult* scan,
                                std::vector<DuplicateGroup> groups) {
    if (generation != m_duplicatesGeneration) {
        return;
    }
    ++m_duplicatesGeneration;
    m_duplicatesProgress.reset();
    // Groups of a tree that is no longer shown are dropped; the search has ended all the same.
    const bool current = scan == m_scan.get();
    if (current) {
        // Files deleted while the search ran no longer count as copies.
        keepLiveCopies(groups);
        m_duplicates = std::move(groups);
        emit duplicatesChanged();
    }
    emit duplicatesProgressChanged();
}

std::vector<std::pair<StorageBucket, std::int64_t>> AppState::overviewComposition() const {
    std::vector<std::pair<StorageBucket, std::int64_t>> composition;
    if (!m_scan) {
        return composition;
    }
    for (const StorageBucket bucket : allStorageBuckets) {
        const auto total = m_scan->bucketTotals.find(bucket);
        if (total != m_scan->bucketTotals.end() && total->second > 0) {
            composition.emplace_back(bucket, total->second);
        }
    }
    std::stable_sort(composition.begin(), composition.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return composition;
}

std::vector<DevItem> AppState::findDeveloperArtefacts() const {
    return dorvale::findDeveloperArtefacts(m_scan.get(), m_junk, m_services.locations);
}

std::vector<Recommendation> AppState::buildRecommendations() const {
    return dorvale::buildRecommendations(m_scan, m_junk, m_services.locations,
                                         m_services.clock.now());
}

void AppState::perform(const RecommendationAction& action) {
    std::visit(ActionRunner{*this}, action);
}

} // namespace dorvale
