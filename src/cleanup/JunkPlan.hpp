#pragma once

#include "app/PlanItem.hpp"
#include "model/JunkFinding.hpp"
#include "model/SafetyPolicy.hpp"

#include <span>
#include <vector>

namespace dorvale {

class AppState;

/// The plan rows for cleaning `items`, in their order: each with its path, its last path
/// component as name, its size, the removal of its rule in the catalogue and the verdict for
/// its path. An item whose rule the catalogue does not know is left out.
[[nodiscard]] std::vector<PlanItem> junkPlanItems(std::span<const JunkItem* const> items,
                                                  const SafetyPolicy& safety);

/// Opens the confirmation sheet titled "Clean Junk" for `items`.
void requestJunkDeletion(AppState& state, std::span<const JunkItem* const> items);

} // namespace dorvale
