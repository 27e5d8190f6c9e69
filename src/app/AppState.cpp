#include "app/AppState.hpp"

#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "model/JunkRule.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"

#include <QPointer>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

namespace dorvale {

namespace {

std::set<std::string> smartCleanRuleIds() {
    std::set<std::string> ids;
    for (const JunkRule& rule : JunkRule::all()) {
        if (rule.inSmartClean) {
            ids.insert(rule.id);
        }
    }
    return ids;
}

// The scan that "autoScan" asks for: exactly "home" or "disk", or a folder given by a path
// that begins with "/"; anything else asks for none.
std::optional<ScanTarget> autoScanTarget(std::string_view value) {
    if (value == "home") {
        return ScanTarget::home();
    }
    if (value == "disk") {
        return ScanTarget::wholeDisk();
    }
    if (value.starts_with('/')) {
        return ScanTarget::folder(value);
    }
    return std::nullopt;
}

} // namespace

AppState::AppState(AppServices services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_settings(new SettingsStore(m_services.settings, this))
    , m_volume(m_services.readVolume("/"))
    , m_smartSelection(smartCleanRuleIds())
    , m_hasFullDiskAccess(m_services.hasFullDiskAccess(m_services.locations)) {
    connect(m_settings, &SettingsStore::changed, this, &AppState::settingChanged);
    m_history = std::make_unique<DeletionHistory>(m_services.historyFile);
    m_history->setEntriesObserver([this] { emit historyChanged(); });
    m_background = new BackgroundServices(m_services, *m_settings, this);
    applyStartupSettings();
}

void AppState::applyStartupSettings() {
    const auto section = appSectionFromRaw(
        m_settings->textValue(SettingsKeys::initialSection).value_or(std::string()));
    if (section) {
        setSection(*section);
    }
    const auto target =
        autoScanTarget(m_settings->textValue(SettingsKeys::autoScan).value_or(std::string()));
    if (target) {
        startScan(*target);
    }
}

template <typename T>
void AppState::assign(T& member, T value, void (AppState::*changed)()) {
    member = std::move(value);
    emit(this->*changed)();
}

void AppState::setSection(AppSection section) {
    assign(m_section, section, &AppState::sectionChanged);
}

void AppState::setScanTarget(ScanTarget target) {
    assign(m_scanTarget, std::move(target), &AppState::scanTargetChanged);
}

void AppState::setScanning(bool scanning) {
    assign(m_isScanning, scanning, &AppState::isScanningChanged);
}

void AppState::setProgress(ScanProgressSnapshot progress) {
    assign(m_progress, std::move(progress), &AppState::progressChanged);
}

void AppState::setScan(std::shared_ptr<ScanResult> result, std::optional<ScanTarget> target) {
    adoptResult(std::move(result), std::move(target));
    emitResultChanged();
}

void AppState::setRevision(std::int64_t revision) {
    assign(m_revision, revision, &AppState::revisionChanged);
}

void AppState::setVolume(std::optional<VolumeInfo> volume) {
    assign(m_volume, std::move(volume), &AppState::volumeChanged);
}

void AppState::setExplorerStack(std::vector<const FileNode*> stack) {
    assign(m_explorerStack, std::move(stack), &AppState::explorerStackChanged);
}

void AppState::setLargeFilter(FileFilter filter) {
    assign(m_largeFilter, std::move(filter), &AppState::largeFilterChanged);
}

void AppState::setApps(std::vector<InstalledApp> apps) {
    assign(m_apps, std::move(apps), &AppState::appsChanged);
}

void AppState::setLeftovers(std::vector<Leftover> leftovers) {
    assign(m_leftovers, std::move(leftovers), &AppState::leftoversChanged);
}

void AppState::setJunk(std::vector<JunkFinding> junk) {
    assign(m_junk, std::move(junk), &AppState::junkChanged);
}

void AppState::setSmartPhase(SmartPhase phase) {
    assign(m_smartPhase, phase, &AppState::smartPhaseChanged);
}

void AppState::setSmartSelection(std::set<std::string> ruleIds) {
    assign(m_smartSelection, std::move(ruleIds), &AppState::smartSelectionChanged);
}

void AppState::setLastReport(std::optional<DeletionReport> report) {
    assign(m_lastReport, std::move(report), &AppState::lastReportChanged);
}

void AppState::setDuplicates(std::vector<DuplicateGroup> groups) {
    assign(m_duplicates, std::move(groups), &AppState::duplicatesChanged);
}

void AppState::setDuplicatesProgress(std::optional<double> fraction) {
    assign(m_duplicatesProgress, fraction, &AppState::duplicatesProgressChanged);
}

void AppState::setPlan(std::optional<DeletionPlan> plan) {
    assign(m_plan, std::move(plan), &AppState::planChanged);
}

void AppState::setToast(std::optional<Toast> toast) {
    assign(m_toast, std::move(toast), &AppState::toastChanged);
}

void AppState::setHasFullDiskAccess(bool granted) {
    assign(m_hasFullDiskAccess, granted, &AppState::hasFullDiskAccessChanged);
}

void AppState::setShowAccessOnboarding(bool shown) {
    assign(m_showAccessOnboarding, shown, &AppState::showAccessOnboardingChanged);
}

void AppState::setFailures(std::vector<DeletionFailure> failures) {
    assign(m_failures, std::move(failures), &AppState::failuresChanged);
}

std::string AppState::excludedRaw() const {
    return m_settings->textValue(SettingsKeys::excludedPaths).value_or(std::string());
}

void AppState::setExcludedRaw(std::string raw) {
    m_settings->setText(SettingsKeys::excludedPaths, std::move(raw));
}

bool AppState::permanentDelete() const {
    return m_settings->boolValue(SettingsKeys::permanentDelete).value_or(false);
}

void AppState::setPermanentDelete(bool permanent) {
    m_settings->setBool(SettingsKeys::permanentDelete, permanent);
}

bool AppState::accessOnboardingSkipped() const {
    return m_settings->boolValue(SettingsKeys::accessOnboardingSkipped).value_or(false);
}

void AppState::setAccessOnboardingSkipped(bool skipped) {
    m_settings->setBool(SettingsKeys::accessOnboardingSkipped, skipped);
}

void AppState::settingChanged(const std::string& key) {
    if (key == SettingsKeys::excludedPaths) {
        emit excludedRawChanged();
    } else if (key == SettingsKeys::permanentDelete) {
        emit permanentDeleteChanged();
    } else if (key == SettingsKeys::accessOnboardingSkipped) {
        emit accessOnboardingSkippedChanged();
    }
}

std::vector<std::string> AppState::excludedPaths() const {
    const std::string raw = excludedRaw();
    const std::vector<std::string_view> lines = nonEmptyLines(raw);
    return {lines.begin(), lines.end()};
}

bool AppState::setExcludedPaths(const std::vector<std::string>& paths) {
    std::string raw;
    for (const std::string& path : paths) {
        if (path.find('\n') != std::string::npos) {
            return false;
        }
        if (!raw.empty()) {
            raw += '\n';
        }
        raw += path;
    }
    setExcludedRaw(std::move(raw));
    return true;
}

void AppState::refreshVolume() {
    setVolume(m_services.readVolume("/"));
}

void AppState::recheckFullDiskAccess() {
    setHasFullDiskAccess(m_services.hasFullDiskAccess(m_services.locations));
}

bool AppState::accessRefused(const ScanTarget& target) const {
    return target.needsFullDiskAccess() && !m_services.hasFullDiskAccess(m_services.locations) &&
           !accessOnboardingSkipped();
}

void AppState::startScan(std::optional<ScanTarget> target) {
    if (target) {
        setScanTarget(std::move(*target));
    }
    if (accessRefused(m_scanTarget)) {
        setShowAccessOnboarding(true);
        return;
    }
    if (m_scanner) {
        m_scanner->cancel();
    }
    auto scanner = std::make_shared<Scanner>(m_services.locations, m_services.clock);
    m_scanner = scanner;
    m_isScanning = true;
    m_progress = {};
    m_hasFullDiskAccess = m_services.hasFullDiskAccess(m_services.locations);
    emit isScanningChanged();
    emit progressChanged();
    emit hasFullDiskAccessChanged();
    runScan(std::move(scanner));
}

Scanner::Exclusions AppState::scanExclusions() const {
    // The scanner compares matching paths; a stored path may be either form.
    Scanner::Exclusions exclusions;
    for (const std::string& path : excludedPaths()) {
        exclusions.emplace(matchingPath(path, m_services.locations.dataVolume));
    }
    return exclusions;
}

void AppState::runScan(std::shared_ptr<Scanner> scanner) {
    // Each report travels to the GUI thread on its own and counts only if its scanner is
    // still the current one when it arrives.
    const QPointer<QObject> guard(this);
    Scanner::Progress progress = [guard, self = this,
                                  scanner](const ScanProgressSnapshot& snapshot) {
        postToGui(guard, [self, scanner, snapshot] { self->publishProgress(scanner, snapshot); });
    };
    // The root and the exclusions are taken now: a change of the setting counts from the
    // next scan.
    runInBackground(
        this,
        [scan = m_services.scan, scanner, root = m_scanTarget.rootPath(m_services.locations),
         exclusions = scanExclusions(),
         progress = std::move(progress)] { return scan(*scanner, root, exclusions, progress); },
        [this, scanner, target = m_scanTarget](std::optional<ScanResult> result) {
            finishScan(scanner, std::move(result), target);
        });
}

void AppState::publishProgress(const std::shared_ptr<Scanner>& scanner,
                               ScanProgressSnapshot snapshot) {
    if (scanner == m_scanner) {
        setProgress(std::move(snapshot));
    }
}

void AppState::finishScan(const std::shared_ptr<Scanner>& scanner, std::optional<ScanResult> result,
                          const ScanTarget& target) {
    if (m_scanner == nullptr || scanner != m_scanner) {
        return;
    }
    m_isScanning = false;
    if (result) {
        adoptResult(std::make_shared<ScanResult>(std::move(*result)), target);
    }
    m_volume = m_services.readVolume("/");
    emit isScanningChanged();
    if (result) {
        emitResultChanged();
    }
    emit volumeChanged();
}

void AppState::adoptResult(std::shared_ptr<ScanResult> result, std::optional<ScanTarget> target) {
    m_scan = std::move(result);
    m_scannedTarget = m_scan ? std::move(target) : std::nullopt;
    m_explorerStack.clear();
    if (m_scan && m_scan->root != nullptr) {
        m_explorerStack.push_back(m_scan->root);
    }
    // Groups name nodes of the tree just released.
    m_duplicates.clear();
    m_revision = nextRevision();
}

void AppState::emitResultChanged() {
    emit scanChanged();
    emit explorerStackChanged();
    emit duplicatesChanged();
    emit revisionChanged();
}

std::int64_t AppState::nextRevision() const {
    if (m_revision == std::numeric_limits<std::int64_t>::max()) {
        qFatal("The scan revision overflowed");
    }
    return m_revision + 1;
}

void AppState::cancelScan() {
    if (m_scanner) {
        m_scanner->cancel();
    }
    m_scanner.reset();
    setScanning(false);
}

} // namespace dorvale
