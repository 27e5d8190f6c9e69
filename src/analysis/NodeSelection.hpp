#pragma once

#include "model/FileNode.hpp"

#include <functional>
#include <span>
#include <vector>

namespace dorvale {

class PreviewBinding;
class SelectionBar;

/// Shows the count and the total size of `nodes` in `bar`.
void showSelection(SelectionBar& bar, std::span<const FileNode* const> nodes);

/// What a list of nodes does with a key, `selected` being its selection in row order: Space
/// previews the first selected node or hides the preview; Return and Enter hand the
/// selection to `activate`. Whether the key was taken: without a selection it is left to
/// the list.
[[nodiscard]] bool
handleSelectionKey(int key, const std::vector<const FileNode*>& selected, PreviewBinding& preview,
                   const std::function<void(const std::vector<const FileNode*>&)>& activate);

} // namespace dorvale
