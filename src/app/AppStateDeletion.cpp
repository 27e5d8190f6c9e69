// The deletion road of the application state: plan, confirmation, run, the tree and lists
// brought up to date, restore and uninstall.

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "app/RunInBackground.hpp"
#include "platform/Paths.hpp"

#include <QEventLoop>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

namespace dorvale {

namespace {

// How long quitting waits for a deletion run to record its history.
constexpr std::chrono::seconds quitWaitLimit{30};

// Calls `found` with each folder above `path` (by whole components, "/" excluded), nearest
// first, until it answers true; answers whether it did.
template <typename Found>
bool anyFolderAbove(std::string_view path, Found found) {
    for (std::size_t slash = path.rfind('/'); slash != std::string_view::npos && slash > 0;
         slash = path.rfind('/', slash - 1)) {
        if (found(path.substr(0, slash))) {
            return true;
        }
    }
    return false;
}

// Whether `path` is one of the deleted paths or lies inside one.
bool isDeleted(std::string_view path, const std::unordered_set<std::string>& deleted) {
    const auto contains = [&deleted](std::string_view candidate) {
        return deleted.contains(std::string(candidate));
    };
    return contains(path) || anyFolderAbove(path, contains);
}

// Removes the elements whose path is deleted; answers whether any was.
template <typename T, typename PathOf>
bool removeDeletedFrom(std::vector<T>& list, const std::unordered_set<std::string>& deleted,
                       PathOf pathOf) {
    return std::erase_if(list,
                         [&](const T& element) { return isDeleted(pathOf(element), deleted); }) > 0;
}

// Whether anything, a dangling link included, stands at `path`.
bool somethingAt(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

QString deletionMessage(const DeletionReport& report) {
    if (report.deletedPaths.empty()) {
        return AppState::tr("Nothing was deleted");
    }
    if (report.freed >= 1 && report.movedToTrash >= 1) {
        return AppState::tr("%1 freed · %2 in the Trash")
            .arg(byteText(report.freed), byteText(report.movedToTrash));
    }
    if (report.movedToTrash < 1) {
        return AppState::tr("%1 freed").arg(byteText(report.freed));
    }
    return AppState::tr("%1 moved to the Trash").arg(byteText(report.movedToTrash));
}

// The toast closing an interactive run: what it won, how many items it could not delete,
// and the Undo of what it moved to the Trash.
Toast deletionToast(const DeletionOutcome& outcome) {
    const DeletionReport& report = outcome.report;
    Toast toast{
        .id = Uuid::random(), .message = deletionMessage(report), .detail = {}, .undoable = {}};
    const auto notDeleted =
        static_cast<qint64>(report.failures.size() + report.skippedProtected.size());
    if (notDeleted >= 1) {
        toast.detail = AppState::tr("%1 item(s) couldn't be deleted. Details in History.")
                           .arg(countText(notDeleted));
    }
    std::copy_if(outcome.entries.begin(), outcome.entries.end(), std::back_inserter(toast.undoable),
                 [](const HistoryEntry& entry) { return entry.trashPath.has_value(); });
    return toast;
}

std::vector<DeletionFailure> failuresOf(const DeletionReport& report) {
    std::vector<DeletionFailure> failures = report.failures;
    failures.insert(failures.end(), report.skippedProtected.begin(), report.skippedProtected.end());
    return failures;
}

std::vector<PlanItem> withVerdicts(const SafetyPolicy& safety,
                                   std::vector<PlanCandidate> candidates) {
    std::vector<PlanItem> items;
    items.reserve(candidates.size());
    for (PlanCandidate& candidate : candidates) {
        SafetyVerdict verdict = safety.verdict(candidate.path);
        items.push_back(PlanItem{std::move(candidate), std::move(verdict)});
    }
    return items;
}

template <typename Paths>
std::unordered_set<std::string> normalizedPaths(const Paths& paths) {
    std::unordered_set<std::string> result;
    for (const std::string& path : paths) {
        result.insert(normalizePath(path));
    }
    return result;
}

} // namespace

void AppState::requestDeletion(QString title, std::vector<PlanItem> items) {
    ++m_planGeneration;
    if (items.empty()) {
        return;
    }
    std::unordered_set<std::string> paths;
    for (const PlanItem& item : items) {
        paths.insert(item.path);
    }
    // An item goes with the folder above it; an equal path is no container.
    std::erase_if(items, [&paths](const PlanItem& item) {
        return anyFolderAbove(item.path, [&paths](std::string_view folder) {
            return paths.contains(std::string(folder));
        });
    });
    setPlan(
        DeletionPlan{.id = Uuid::random(), .title = std::move(title), .items = std::move(items)});
}

void AppState::planDeletion(QString title, std::vector<PlanCandidate> candidates) {
    const bool readsDisk = std::ranges::any_of(candidates, [](const PlanCandidate& candidate) {
        return SafetyPolicy::verdictReadsDisk(candidate.path);
    });
    if (!readsDisk) {
        requestDeletion(std::move(title), withVerdicts(m_services.safety, std::move(candidates)));
        return;
    }
    const std::uint64_t generation = ++m_planGeneration;
    runInBackground(
        this,
        [safety = &m_services.safety, candidates = std::move(candidates)]() mutable {
            return withVerdicts(*safety, std::move(candidates));
        },
        [this, generation, title = std::move(title)](std::vector<PlanItem> items) {
            if (generation == m_planGeneration) {
                requestDeletion(title, std::move(items));
            }
        });
}

void AppState::performDeletion(const DeletionPlan& plan, bool includeReview) {
    if (!m_plan || m_plan->id != plan.id) {
        return;
    }
    const bool permanent = permanentDelete();
    std::vector<DeletionRequest> requests;
    for (const PlanItem& item : m_plan->items) {
        const Risk risk = item.verdict.risk;
        if (risk == Risk::Safe || (risk == Risk::Review && includeReview)) {
            requests.push_back(
                DeletionRequest{.id = Uuid::random(),
                                .path = item.path,
                                .removal = permanent ? Removal::Permanent : item.removal,
                                .confirmedRisk = risk});
        }
    }
    setPlan(std::nullopt);
    runDeletion(std::move(requests), false);
}

void AppState::runDeletion(std::vector<DeletionRequest> requests, bool silently,
                           DeletionCompletion done) {
    ++m_deletionRuns;
    runInBackground(
        this,
        [engine = &m_services.deletionEngine, requests = std::move(requests)] {
            return engine->perform(requests);
        },
        [this, silently, done = std::move(done)](DeletionOutcome outcome) {
            finishDeletion(std::move(outcome), silently, done);
        });
}

void AppState::finishDeletion(DeletionOutcome outcome, bool silently,
                              const DeletionCompletion& done) {
    const DeletedChanges changes = takeOutDeleted(normalizedPaths(outcome.report.deletedPaths));
    m_volume = m_services.readVolume("/");
    if (!silently) {
        m_toast = deletionToast(outcome);
        m_failures = failuresOf(outcome.report);
    }
    // Recorded before anything is announced, and by every run, so that each item put in the
    // Trash can be found again.
    m_history->record(outcome.entries);
    emitDeleted(changes);
    emit volumeChanged();
    if (!silently) {
        emit toastChanged();
        emit failuresChanged();
    }
    if (--m_deletionRuns == 0 && m_quitWait != nullptr) {
        m_quitWait->quit();
    }
    if (done) {
        done(outcome.report);
    }
}

void AppState::removeDeleted(const std::unordered_set<std::string>& paths) {
    emitDeleted(takeOutDeleted(normalizedPaths(paths)));
}

AppState::DeletedChanges AppState::takeOutDeleted(const std::unordered_set<std::string>& paths) {
    DeletedChanges changes;
    if (paths.empty()) {
        return changes;
    }
    changes.any = true;
    changes.tree = markDeletedNodes(paths);
    changes.explorerStack = changes.tree && cutExplorerStack();
    changes.apps =
        removeDeletedFrom(m_apps, paths, [](const InstalledApp& app) { return app.path; });
    changes.leftovers = removeDeletedFrom(m_leftovers, paths,
                                          [](const Leftover& leftover) { return leftover.path; });
    for (JunkFinding& finding : m_junk) {
        changes.junk |=
            removeDeletedFrom(finding.items, paths, [](const JunkItem& item) { return item.id; });
    }
    changes.duplicates = keepLiveCopies(m_duplicates);
    m_revision = nextRevision();
    return changes;
}

// Visits only the folders on the way to a deleted path, and none inside a deleted folder, so
// that no figure is taken off twice; the result itself ignores a node deleted already.
bool AppState::markDeletedNodes(const std::unordered_set<std::string>& paths) {
    if (!m_scan || m_scan->root == nullptr) {
        return false;
    }
    std::unordered_set<std::string> onTheWay{"/"};
    for (const std::string& path : paths) {
        anyFolderAbove(path, [&onTheWay](std::string_view folder) {
            return !onTheWay.insert(std::string(folder)).second;
        });
    }
    bool changed = false;
    std::vector<std::pair<const FileNode*, std::string>> pending{
        {m_scan->root, normalizePath(m_scan->root->name())}};
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        if (paths.contains(path)) {
            changed |= m_scan->markDeleted(*node);
        } else if (node->isDirectory() && !node->deleted() && onTheWay.contains(path)) {
            for (const FileNode* child : node->children()) {
                pending.emplace_back(child, joinPath(path, child->name()));
            }
        }
    }
    return changed;
}

// The explorer never shows a deleted folder: its stack, a chain from the root, ends before
// the first one, but always keeps the root.
bool AppState::cutExplorerStack() {
    if (m_explorerStack.size() < 2) {
        return false;
    }
    const auto cut = std::find_if(m_explorerStack.begin() + 1, m_explorerStack.end(),
                                  [](const FileNode* folder) { return folder->deleted(); });
    if (cut == m_explorerStack.end()) {
        return false;
    }
    m_explorerStack.erase(cut, m_explorerStack.end());
    return true;
}

// Only live copies count when one copy must be kept.
bool AppState::keepLiveCopies(std::vector<DuplicateGroup>& groups) {
    bool changed = false;
    for (DuplicateGroup& group : groups) {
        changed |=
            std::erase_if(group.files, [](const FileNode* file) { return file->deleted(); }) > 0;
    }
    changed |= std::erase_if(
                   groups, [](const DuplicateGroup& group) { return group.files.size() < 2; }) > 0;
    return changed;
}

void AppState::emitDeleted(const DeletedChanges& changes) {
    if (!changes.any) {
        return;
    }
    if (changes.tree) {
        emit scanChanged();
    }
    if (changes.explorerStack) {
        emit explorerStackChanged();
    }
    if (changes.apps) {
        emit appsChanged();
    }
    if (changes.leftovers) {
        emit leftoversChanged();
    }
    if (changes.junk) {
        emit junkChanged();
    }
    if (changes.duplicates) {
        emit duplicatesChanged();
    }
    emit revisionChanged();
}

std::int64_t AppState::restore(const std::vector<HistoryEntry>& entries, RestoreFeedback feedback) {
    qint64 count = 0;
    std::optional<QString> firstReason;
    for (const HistoryEntry& entry : entries) {
        std::optional<QString> skipped = restoreEntry(entry);
        if (!skipped) {
            ++count;
        } else if (!firstReason) {
            firstReason = std::move(skipped);
        }
    }
    const bool toast = feedback == RestoreFeedback::Toast;
    if (toast) {
        const QString scanAgain = tr("Scan again to see updated sizes.");
        QString detail = scanAgain;
        if (firstReason) {
            detail = count == 0 ? *firstReason : *firstReason + QLatin1Char(' ') + scanAgain;
        }
        m_toast = Toast{.id = Uuid::random(),
                        .message = tr("%1 item(s) restored").arg(countText(count)),
                        .detail = detail,
                        .undoable = {}};
    }
    m_volume = m_services.readVolume("/");
    if (toast) {
        emit toastChanged();
    }
    emit volumeChanged();
    return count;
}

void AppState::clearHistory() {
    m_history->clear();
}

std::optional<QString> AppState::restoreEntry(const HistoryEntry& entry) {
    const auto& listed = m_history->entries();
    const bool restoredBefore =
        entry.restored ||
        std::any_of(listed.begin(), listed.end(),
                    [&entry](const HistoryEntry& e) { return e.id == entry.id && e.restored; });
    if (restoredBefore) {
        return tr("The item was restored already.");
    }
    if (!entry.trashPath || !somethingAt(*entry.trashPath)) {
        return tr("The item is no longer in the Trash.");
    }
    if (somethingAt(entry.originalPath)) {
        return tr("Something now stands at the item’s original place, so it stays in the "
                  "Trash.");
    }
    // The Trash moves without replacing, so an item that appears at the original path after
    // the check above still stays untouched.
    if (const Result<void> restored = m_history->restore(entry); !restored.ok()) {
        return QString::fromStdString(DeletionEngine::failureReason(restored.error()));
    }
    return std::nullopt;
}

void AppState::uninstall(const InstalledApp& app) {
    const auto item = [](std::string path, std::string name, std::int64_t size) {
        return PlanCandidate{.path = std::move(path),
                             .name = std::move(name),
                             .size = size,
                             .removal = Removal::Trash};
    };
    std::vector<PlanCandidate> items{item(app.path, app.name, app.appSize)};
    for (const RelatedItem& related : app.related) {
        items.push_back(item(related.path,
                             related.label + " · " + std::string(lastComponent(related.path)),
                             related.size));
    }
    planDeletion(tr("Uninstall %1").arg(QString::fromStdString(app.name)), std::move(items));
}

void AppState::prepareToQuit() {
    if (m_isScanning) {
        cancelScan();
    }
    if (m_deletionRuns > 0) {
        QEventLoop wait;
        QTimer::singleShot(quitWaitLimit, &wait, &QEventLoop::quit);
        m_quitWait = &wait;
        wait.exec();
        m_quitWait = nullptr;
    }
    // The process may end without destroying the store.
    m_history->flush();
}

} // namespace dorvale
