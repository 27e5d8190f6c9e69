#pragma once

#include "inventory/Recommendation.hpp"
#include "model/FileNode.hpp"

#include <span>
#include <vector>

namespace dorvale {

class AppState;

/// What moving `nodes` to the Trash proposes, in their order: each with its full path (the
/// node's own bytes), its last path component as name and its size. Nodes deleted meanwhile
/// are left out.
[[nodiscard]] std::vector<PlanCandidate>
trashPlanCandidates(std::span<const FileNode* const> nodes);

/// Opens the confirmation sheet titled "Delete Items" for `nodes`, which must be nodes of
/// the state's current scan.
void requestNodeDeletion(AppState& state, std::span<const FileNode* const> nodes);

} // namespace dorvale
