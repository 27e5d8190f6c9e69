#include "model/DeletionEngine.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"
#include "platform/TreeSurvey.hpp"

#include <cerrno>

namespace dorvale {

namespace {

DeletionFailure failure(const std::string& path, std::string_view reason) {
    return DeletionFailure{.id = Uuid::random(), .path = path, .reason = std::string(reason)};
}

} // namespace

DeletionEngine::DeletionEngine(const SafetyPolicy& policy, const Trash& trash, const Clock& clock)
    : m_policy(policy)
    , m_trash(trash)
    , m_clock(clock) {}

DeletionOutcome DeletionEngine::perform(const std::vector<DeletionRequest>& requests) const {
    DeletionOutcome outcome;
    for (const DeletionRequest& request : requests) {
        carryOut(request, outcome);
    }
    return outcome;
}

void DeletionEngine::carryOut(const DeletionRequest& request, DeletionOutcome& outcome) const {
    DeletionReport& report = outcome.report;
    // What the user confirmed is the item at the risk its plan showed; one that has become
    // riskier since is not what they agreed to, and a protected one is never touched.
    SafetyVerdict verdict = m_policy.verdict(request.path);
    if (verdict.risk == Risk::Protected || verdict.risk > request.confirmedRisk) {
        report.skippedProtected.push_back(failure(request.path, verdict.reason));
        return;
    }
    // A relative path would be taken against the working directory, which says nothing
    // about the item the request was made for.
    if (!request.path.starts_with('/')) {
        report.failures.push_back(
            failure(request.path, tr("This isn’t a complete path, so the item was left alone.")));
        return;
    }
    // The verdict was given for the normalised path. Its folder is opened without following
    // any link, so the folder acted in is the one that path names, and the item removed is
    // the one the verdict was given for, whatever is swapped in on the way meanwhile.
    const std::string target = normalizePath(request.path);
    Result<Descriptor> parent = openFolderWithoutLinks(parentPath(target), FileOperation::Remove);
    if (!parent.ok()) {
        report.failures.push_back(failure(request.path, failureReason(parent.error())));
        return;
    }
    // Credited is what the item occupies as it goes, not what it occupied when it was
    // proposed: it may have been replaced since, by a small link for one.
    const std::int64_t size =
        surveyTree(parent.value().get(), std::string(lastComponent(target))).allocated;
    Result<std::optional<std::string>> removed =
        remove(parent.value().get(), target, request.removal);
    if (!removed.ok()) {
        report.failures.push_back(failure(request.path, failureReason(removed.error())));
        return;
    }
    const std::optional<std::string>& trashPath = removed.value();
    if (trashPath) {
        report.movedToTrash += size;
    } else {
        report.freed += size;
    }
    report.deletedPaths.push_back(request.path);
    // The original path is the one the Trash recorded, so the entry can be restored.
    outcome.entries.push_back(HistoryEntry{.id = Uuid::random(),
                                           .date = m_clock.now(),
                                           .originalPath = target,
                                           .trashPath = trashPath,
                                           .size = size,
                                           .restored = false});
}

Result<std::optional<std::string>> DeletionEngine::remove(int parentFd, const std::string& path,
                                                          Removal removal) const {
    if (removal == Removal::Trash) {
        Result<std::string> moved = m_trash.moveToTrash(parentFd, path);
        if (!moved.ok()) {
            return moved.error();
        }
        return std::optional<std::string>(std::move(moved).value());
    }
    if (Result<void> removed = removeEntryForGood(parentFd, std::string(lastComponent(path)), path);
        !removed.ok()) {
        return removed.error();
    }
    return std::optional<std::string>();
}

std::string DeletionEngine::failureReason(const FileError& error) {
    switch (error.code) {
    case ENOENT:
        return std::string(tr("No longer exists."));
    case EACCES:
        return std::string(
            tr("No permission. It may need Full Disk Access, or it belongs to another user."));
    case EPERM:
        return std::string(tr("Protected by macOS or in use."));
    default:
        return error.reason();
    }
}

} // namespace dorvale
