#include "cleanup/JunkPlan.hpp"

#include "app/AppState.hpp"
#include "model/JunkRule.hpp"
#include "platform/Paths.hpp"

#include <QCoreApplication>

#include <algorithm>

namespace dorvale {

namespace {

const JunkRule* catalogueRule(const std::string& id) {
    const std::vector<JunkRule>& rules = JunkRule::all();
    const auto found = std::find_if(rules.begin(), rules.end(),
                                    [&id](const JunkRule& rule) { return rule.id == id; });
    return found != rules.end() ? &*found : nullptr;
}

} // namespace

std::vector<PlanCandidate> junkPlanCandidates(std::span<const JunkItem* const> items) {
    std::vector<PlanCandidate> planned;
    planned.reserve(items.size());
    const JunkRule* rule = nullptr;
    for (const JunkItem* item : items) {
        // Items come rule by rule, so the last rule found usually serves the next item.
        if (rule == nullptr || rule->id != item->ruleID) {
            rule = catalogueRule(item->ruleID);
        }
        if (rule == nullptr) {
            continue;
        }
        PlanCandidate row;
        row.path = item->id;
        row.name = std::string(lastComponent(item->id));
        row.size = item->size;
        row.removal = rule->removal;
        planned.push_back(std::move(row));
    }
    return planned;
}

void requestJunkDeletion(AppState& state, std::span<const JunkItem* const> items) {
    state.planDeletion(QCoreApplication::translate("JunkPlan", "Clean Junk"),
                       junkPlanCandidates(items));
}

} // namespace dorvale
