#pragma once

#include "app/PlanItem.hpp"

namespace dorvale {

class AppState;

/// `candidate` with the safety verdict of its path as it is now, for a plan the page hands
/// to `AppState::requestDeletion`.
[[nodiscard]] PlanItem planItem(const AppState& state, PlanCandidate candidate);

} // namespace dorvale
