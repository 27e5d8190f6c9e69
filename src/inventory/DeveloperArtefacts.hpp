#pragma once

#include "inventory/DevItem.hpp"
#include "model/JunkFinding.hpp"
#include "model/ScanResult.hpp"
#include "platform/Locations.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

/// Finds what developers' tools can rebuild: well-known dependency, environment and build
/// folders in the last scan's tree, and the items of the developer junk rules.
///
/// Threads: call these on the GUI thread, which owns the scan tree. They read nodes, touch
/// no disk and keep no state; one walk over a tree of a million nodes takes under 20 ms in an
/// optimised build (bench/RecommendationsBench.cpp), so there is nothing to gain from a
/// worker.
namespace dorvale {

/// An artefact folder of the scan counts only when its size is above this many bytes.
inline constexpr std::int64_t artefactFolderThreshold = 20'000'000;

/// What an artefact folder of this exact name (case-sensitive) holds and how it comes back,
/// in the current language; nothing for any other name.
[[nodiscard]] std::optional<std::string_view> artefactExplanation(std::string_view name);

/// The artefact folders of the scan, in the order a depth-first walk meets them (the last
/// child of a folder is searched first). The root itself is never one. Folders marked
/// deleted are skipped with everything in them, packages are not entered, and a reported
/// folder is not searched, so nothing inside it is reported separately. Folders in the
/// home folder's Library are left to the junk rules; they are still searched.
[[nodiscard]] std::vector<DevItem> artefactFolders(const ScanResult& scan,
                                                   const Locations& locations);

/// One item for each item of every finding of a developer-group rule, in finding and item
/// order; findings of other groups are ignored.
[[nodiscard]] std::vector<DevItem> developerJunkItems(std::span<const JunkFinding> junk);

/// The artefact folders of `scan` (none without one) followed by the developer junk items,
/// each path once (the first found). The list is not sorted.
[[nodiscard]] std::vector<DevItem> findDeveloperArtefacts(const ScanResult* scan,
                                                          std::span<const JunkFinding> junk,
                                                          const Locations& locations);

} // namespace dorvale
