#pragma once

#include "model/DeletionReport.hpp"
#include "model/DeletionRequest.hpp"
#include "model/HistoryEntry.hpp"
#include "model/SafetyPolicy.hpp"
#include "platform/Clock.hpp"
#include "platform/FileError.hpp"
#include "platform/Result.hpp"
#include "platform/Trash.hpp"

#include <optional>
#include <string>
#include <vector>

namespace dorvale {

/// The outcome of one run: the report, and one history entry for each request carried
/// out, in request order.
struct DeletionOutcome {
    DeletionReport report{};
    std::vector<HistoryEntry> entries{};
};

/// The one place where the program removes files. Each request is checked again with the
/// safety policy at the moment it is carried out, and a path that is protected then, or
/// riskier than the request's confirmed risk, is never touched, whatever the request asks;
/// otherwise the item is moved to the Trash or deleted
/// outright. Nothing is ever done through a symbolic link: a link is removed or trashed as
/// the link itself, and a path with a link among its folders is refused.
///
/// The engine does not write the history: its caller records the returned entries.
///
/// Threads: `perform` blocks on the disk and is meant for a worker thread. The engine holds
/// nothing between runs; the policy, the Trash and the clock are only read and must outlive
/// it, and the policy's workspace must be usable from the worker.
class DeletionEngine {
public:
    DeletionEngine(const SafetyPolicy& policy, const Trash& trash,
                   const Clock& clock = Clock::system());

    /// Carries out the requests strictly one after another, in the given order. Never fails
    /// as a whole: every request ends up in `deletedPaths`, `failures` or `skippedProtected`.
    [[nodiscard]] DeletionOutcome perform(const std::vector<DeletionRequest>& requests) const;

    /// One short sentence for the user about a failed file operation: a vanished item
    /// (ENOENT), missing permission (EACCES), an item the system protects or holds (EPERM),
    /// otherwise the error's own reason.
    [[nodiscard]] static std::string failureReason(const FileError& error);

    /// The Trash the engine moves items to, for the few removals that go there by a road
    /// of their own.
    [[nodiscard]] const Trash& trash() const { return m_trash; }

private:
    void carryOut(const DeletionRequest& request, DeletionOutcome& outcome) const;
    [[nodiscard]] Result<std::optional<std::string>> remove(int parentFd, const std::string& path,
                                                            Removal removal) const;

    const SafetyPolicy& m_policy;
    const Trash& m_trash;
    const Clock& m_clock;
};

} // namespace dorvale
