#include "analysis/NodeSelection.hpp"

#include "analysis/PreviewBinding.hpp"
#include "widgets/SelectionBar.hpp"

namespace dorvale {

void showSelection(SelectionBar& bar, std::span<const FileNode* const> nodes) {
    std::int64_t size = 0;
    for (const FileNode* node : nodes) {
        size += node->size();
    }
    bar.setSelection(static_cast<std::int64_t>(nodes.size()), size);
}

bool handleSelectionKey(int key, const std::vector<const FileNode*>& selected,
                        PreviewBinding& preview,
                        const std::function<void(const std::vector<const FileNode*>&)>& activate) {
    switch (key) {
    case Qt::Key_Space:
        if (selected.empty()) {
            return false;
        }
        preview.toggle(PreviewItem::of(*selected.front()));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate(selected);
        return !selected.empty();
    default:
        return false;
    }
}

} // namespace dorvale
