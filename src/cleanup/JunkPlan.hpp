#pragma once

#include "inventory/Recommendation.hpp"
#include "model/JunkFinding.hpp"

#include <span>
#include <vector>

namespace dorvale {

class AppState;

/// What cleaning `items` proposes, in their order: each with its path, its last path
/// component as name, its size and the removal of its rule in the catalogue. An item whose
/// rule the catalogue does not know is left out.
[[nodiscard]] std::vector<PlanCandidate> junkPlanCandidates(std::span<const JunkItem* const> items);

/// Opens the confirmation sheet titled "Clean Junk" for `items`, each with its verdict.
void requestJunkDeletion(AppState& state, std::span<const JunkItem* const> items);

} // namespace dorvale
