#pragma once

#include "app/PlanItem.hpp"
#include "model/FileNode.hpp"
#include "model/SafetyPolicy.hpp"

#include <span>
#include <vector>

namespace dorvale {

class AppState;

/// The plan rows for moving `nodes` to the Trash, in their order: each with its full path
/// (the node's own bytes), its last path component as name, its size and the verdict for
/// its path. Nodes deleted meanwhile are left out.
[[nodiscard]] std::vector<PlanItem> trashPlanItems(std::span<const FileNode* const> nodes,
                                                   const SafetyPolicy& safety);

/// Opens the confirmation sheet titled "Delete Items" for `nodes`, which must be nodes of
/// the state's current scan.
void requestNodeDeletion(AppState& state, std::span<const FileNode* const> nodes);

} // namespace dorvale
