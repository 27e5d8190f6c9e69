#include "cleanup/PlanItems.hpp"

#include "app/AppState.hpp"

namespace dorvale {

PlanItem planItem(const AppState& state, PlanCandidate candidate) {
    SafetyVerdict verdict = state.services().safety.verdict(candidate.path);
    return PlanItem{std::move(candidate), std::move(verdict)};
}

} // namespace dorvale
