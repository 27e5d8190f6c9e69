#include "analysis/LargestFolders.hpp"

#include <algorithm>
#include <utility>

namespace dorvale {

namespace {

// A folder this deep is listed but not entered.
constexpr int deepestEntered = 6;
// The root and its children are never listed.
constexpr int shallowestListed = 2;
// A folder inside a listed one takes its place when it holds more than this share of it.
constexpr double replacingShare = 0.7;

bool isLarge(const FileNode& node) {
    return node.size() > largestFolderThreshold;
}

// Every large folder at the listed depths, depth first from the last child pushed, as the
// walk meets them.
std::vector<const FileNode*> candidates(const FileNode& root) {
    std::vector<const FileNode*> found;
    std::vector<std::pair<const FileNode*, int>> stack{{&root, 0}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        if (depth >= shallowestListed && isLarge(*node)) {
            found.push_back(node);
        }
        if (depth >= deepestEntered || node->isPackage()) {
            continue;
        }
        for (const FileNode* child : node->children()) {
            if (child->isDirectory() && !child->deleted() && isLarge(*child)) {
                stack.emplace_back(child, depth + 1);
            }
        }
    }
    return found;
}

bool isAncestor(const FileNode& ancestor, const FileNode& node) {
    for (const FileNode* at = node.parent(); at != nullptr; at = at->parent()) {
        if (at == &ancestor) {
            return true;
        }
    }
    return false;
}

// Picks from the candidates, largest first, the most specific folders that still hold most
// of what they replace.
std::vector<const FileNode*> select(const std::vector<const FileNode*>& sorted) {
    std::vector<const FileNode*> result;
    for (const FileNode* candidate : sorted) {
        const bool holdsListed = std::any_of(result.begin(), result.end(), [&](const FileNode* in) {
            return isAncestor(*candidate, *in);
        });
        if (holdsListed) {
            continue;
        }
        const auto holder = std::find_if(result.begin(), result.end(), [&](const FileNode* in) {
            return isAncestor(*in, *candidate);
        });
        if (holder != result.end()) {
            if (static_cast<double>(candidate->size()) >
                replacingShare * static_cast<double>((*holder)->size())) {
                *holder = candidate;
            }
            continue;
        }
        result.push_back(candidate);
        if (result.size() == largestFolderCount) {
            break;
        }
    }
    return result;
}

} // namespace

std::vector<const FileNode*> largestFolders(const FileNode& root) {
    std::vector<const FileNode*> found = candidates(root);
    sortBySizeDescending(found);
    std::vector<const FileNode*> result = select(found);
    sortBySizeDescending(result);
    return result;
}

} // namespace dorvale
