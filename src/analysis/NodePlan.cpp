#include "analysis/NodePlan.hpp"

#include "app/AppState.hpp"
#include "platform/Paths.hpp"

#include <QCoreApplication>

namespace dorvale {

std::vector<PlanCandidate> trashPlanCandidates(std::span<const FileNode* const> nodes) {
    std::vector<PlanCandidate> items;
    items.reserve(nodes.size());
    for (const FileNode* node : nodes) {
        if (node->deleted()) {
            continue;
        }
        PlanCandidate item;
        item.path = node->path();
        item.name = std::string(lastComponent(item.path));
        item.size = node->size();
        item.removal = Removal::Trash;
        items.push_back(std::move(item));
    }
    return items;
}

void requestNodeDeletion(AppState& state, std::span<const FileNode* const> nodes) {
    state.planDeletion(QCoreApplication::translate("NodePlan", "Delete Items"),
                       trashPlanCandidates(nodes));
}

} // namespace dorvale
