#pragma once

#include "inventory/Recommendation.hpp"
#include "model/JunkFinding.hpp"
#include "model/ScanResult.hpp"
#include "platform/Clock.hpp"
#include "platform/Locations.hpp"

#include <memory>
#include <span>
#include <string_view>
#include <vector>

/// The overview's recommendation cards, built from work already done: the junk findings,
/// the last scan and the developer artefacts. Nothing here scans or touches the disk.
///
/// Threads: call these on the GUI thread, which owns the scan tree. A build is one pass over
/// the scan's file list, one artefact walk and one path walk, with no disk access; over a
/// tree of a million nodes it takes under 30 ms in an optimised build
/// (bench/RecommendationsBench.cpp), so it runs where the tree lives and keeps no state.
namespace dorvale {

/// The first finding of `junk` whose rule has this id, or null.
[[nodiscard]] const JunkFinding* junkFinding(std::span<const JunkFinding> junk,
                                             std::string_view id);

/// The cards whose conditions hold, largest first; cards of equal size keep their fixed
/// order (safe junk, Trash, installers, device backups, old large files, developer
/// artefacts, Downloads). `scan` may be null: the cards that need the tree are then left
/// out. `now` is the current time, against which files count as old.
[[nodiscard]] std::vector<Recommendation>
buildRecommendations(const std::shared_ptr<const ScanResult>& scan,
                     std::span<const JunkFinding> junk, const Locations& locations, Timestamp now);

} // namespace dorvale
