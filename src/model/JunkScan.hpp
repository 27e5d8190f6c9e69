#pragma once

#include "model/JunkFinding.hpp"
#include "model/JunkRule.hpp"
#include "platform/Clock.hpp"
#include "platform/FullDiskAccess.hpp"
#include "platform/Locations.hpp"

#include <functional>
#include <optional>
#include <span>
#include <vector>

/// Turns junk rules into concrete items: the direct children of each rule's base folder that
/// pass its filters, each measured with the scanner's `directorySize`. Works on the file
/// system directly, apart from any disk scan.
///
/// Threads: every function blocks, touches no shared mutable state and may run on any
/// thread; the caller runs them off the GUI thread and publishes the result itself.
namespace dorvale::JunkScan {

/// Answers whether the program has full disk access.
using AccessProbe = std::function<bool(const Locations&)>;

/// Scans every rule on a bounded pool of threads, one task per rule, and returns the rules
/// that found something, largest total first (equal totals keep the order of `rules`).
/// `hasFullDiskAccess` is asked exactly once; without access, rules whose base lies in an
/// application's container ("Library/Containers/…") are not tried at all. Never fails: what
/// cannot be read is missing from the result.
[[nodiscard]] std::vector<JunkFinding>
scanRules(std::span<const JunkRule> rules, const Locations& locations,
          const Clock& clock = Clock::system(),
          const AccessProbe& hasFullDiskAccess = &FullDiskAccess::isGranted);

/// Lists the direct children of the rule's base folder (hidden ones included, a base that
/// is a symbolic link followed) and keeps, in listing order, each child that
///  - is not one of the rule's excluded names,
///  - is not a ".DS_Store" (except in the Trash rule, where that is an item like any other),
///  - passes the rule's extension filter,
///  - is old enough for the rule's minimum age (a child whose date cannot be read is),
///  - and measures at least one allocated byte and holds at least one non-folder entry, so
///    empty files, trees of empty folders and folders that cannot be walked are never items
///    (a folder's own blocks alone do not make it junk).
/// Items are then sorted by size, largest first, ties keeping listing order. Nothing when
/// the base folder cannot be listed; otherwise a finding whose item list may be empty.
[[nodiscard]] std::optional<JunkFinding> collectItems(const JunkRule& rule,
                                                      const Locations& locations,
                                                      const Clock& clock = Clock::system());

} // namespace dorvale::JunkScan
