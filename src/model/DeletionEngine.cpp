#include "model/DeletionEngine.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <cerrno>

namespace dorvale {

namespace {

DeletionFailure failure(const std::string& path, std::string_view reason) {
    return DeletionFailure{.id = Uuid::random(), .path = path, .reason = std::string(reason)};
}

// Where `path` really is once the links among its folders are followed: the real parent
// folder and the item's own name (the item itself may be a link and is not followed).
// Nothing when the parent folder cannot be resolved.
std::optional<std::string> resolvedLocation(const std::string& path) {
    const std::string parent(parentPath(path));
    if (parent.empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> real = realPath(parent);
    if (!real) {
        return std::nullopt;
    }
    return joinPath(*real, lastComponent(path));
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
    if (const std::optional<SafetyVerdict> verdict = protection(request.path)) {
        report.skippedProtected.push_back(failure(request.path, verdict->reason));
        return;
    }
    // A relative path would be taken against the working directory, which says nothing
    // about the item the request was made for.
    if (!request.path.starts_with('/')) {
        report.failures.push_back(
            failure(request.path, tr("This isn’t a complete path, so the item was left alone.")));
        return;
    }
    // The verdict was given for the normalised path, so that is the path acted on.
    const std::string target = normalizePath(request.path);
    Result<std::optional<std::string>> removed = remove(target, request.removal);
    if (!removed.ok()) {
        report.failures.push_back(failure(request.path, failureReason(removed.error())));
        return;
    }
    const std::optional<std::string>& trashPath = removed.value();
    if (trashPath) {
        report.movedToTrash += request.size;
    } else {
        report.freed += request.size;
    }
    report.deletedPaths.push_back(request.path);
    // The original path is the one the Trash recorded, so the entry can be restored.
    outcome.entries.push_back(HistoryEntry{.id = Uuid::random(),
                                           .date = m_clock.now(),
                                           .originalPath = target,
                                           .trashPath = trashPath,
                                           .size = request.size,
                                           .restored = false});
}

// The verdict is lexical. Folders on the way to the item may be links, and what the system
// removes is what they lead to, so a path whose real location is protected is refused too.
std::optional<SafetyVerdict> DeletionEngine::protection(const std::string& path) const {
    SafetyVerdict verdict = m_policy.verdict(path);
    if (verdict.risk == Risk::Protected) {
        return verdict;
    }
    if (!path.starts_with('/')) {
        return std::nullopt;
    }
    const std::string normalized = normalizePath(path);
    const std::optional<std::string> real = resolvedLocation(normalized);
    if (!real || *real == normalized) {
        return std::nullopt;
    }
    verdict = m_policy.verdict(*real);
    return verdict.risk == Risk::Protected ? std::optional(std::move(verdict)) : std::nullopt;
}

Result<std::optional<std::string>> DeletionEngine::remove(const std::string& path,
                                                          Removal removal) const {
    if (removal == Removal::Trash) {
        Result<std::string> moved = m_trash.moveToTrash(path);
        if (!moved.ok()) {
            return moved.error();
        }
        return std::optional<std::string>(std::move(moved).value());
    }
    if (Result<void> removed = removeForGood(path); !removed.ok()) {
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
