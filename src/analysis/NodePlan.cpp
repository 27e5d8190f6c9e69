#include "analysis/NodePlan.hpp"

#include "app/AppState.hpp"
#include "platform/Paths.hpp"

#include <QCoreApplication>

namespace dorvale {

std::vector<PlanItem> trashPlanItems(std::span<const FileNode* const> nodes,
                                     const SafetyPolicy& safety) {
    std::vector<PlanItem> items;
    items.reserve(nodes.size());
    for (const FileNode* node : nodes) {
        if (node->deleted()) {
            continue;
        }
        PlanItem item;
        item.path = node->path();
        item.name = std::string(lastComponent(item.path));
        item.size = node->size();
        item.removal = Removal::Trash;
        item.verdict = safety.verdict(item.path);
        items.push_back(std::move(item));
    }
    return items;
}

void requestNodeDeletion(AppState& state, std::span<const FileNode* const> nodes) {
    state.requestDeletion(QCoreApplication::translate("NodePlan", "Delete Items"),
                          trashPlanItems(nodes, state.services().safety));
}

} // namespace dorvale
