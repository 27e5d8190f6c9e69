#include "model/ScanResult.hpp"

#include <algorithm>
#include <span>
#include <vector>

namespace dorvale {

namespace {

/// Takes `amount` off the total of `key`. An absent total stays absent, and none drops below
/// zero.
template <typename Key>
void takeOff(std::map<Key, std::int64_t>& totals, Key key, std::int64_t amount) {
    const auto found = totals.find(key);
    if (found != totals.end() && amount > 0) {
        found->second = std::max<std::int64_t>(0, found->second - amount);
    }
}

/// Whether neither `node` nor a folder above it is deleted, and the topmost of them is `root`.
bool isLiveIn(const FileNode& node, const FileNode* root) {
    const FileNode* top = &node;
    for (const FileNode* at = &node; at != nullptr; at = at->parent()) {
        if (at->deleted()) {
            return false;
        }
        top = at;
    }
    return top == root;
}

} // namespace

bool ScanResult::markDeleted(const FileNode& node) {
    if (!isLiveIn(node, root)) {
        return false;
    }
    // Every node is made mutable in the arena and handed out const, so that this call is
    // the one change after the scan; the node was just found to belong to this tree.
    auto& target = const_cast<FileNode&>(node);
    for (FileNode* ancestor = target.m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
        ancestor->subtractContents(target);
    }
    deleteSubtree(target);
    return true;
}

// Marks `top` and every live node beneath it deleted and takes what each added out of the
// totals. Nodes deleted earlier are passed over with everything in them: their share, and
// their figures in the folders above them, came off when they were deleted. So a folder's
// own blocks are its size less its small files and its live children.
void ScanResult::deleteSubtree(FileNode& top) {
    std::vector<FileNode*> pending{&top};
    while (!pending.empty()) {
        FileNode& node = *pending.back();
        pending.pop_back();
        node.m_deleted = true;
        if (!node.m_isDirectory) {
            takeOff(bucketTotals, node.m_bucket, node.m_size);
            takeOff(kindTotals, node.m_kind, node.m_size);
            takeOff(kindCounts, node.m_kind, std::int64_t{1});
            continue;
        }
        std::int64_t ownBlocks = node.m_size - node.m_smallFilesSize;
        for (FileNode* child : std::span(node.m_children, node.m_childCount)) {
            if (!child->m_deleted) {
                ownBlocks -= child->m_size;
                pending.push_back(child);
            }
        }
        const bool smallFilesHere = node.m_bucket != StorageBucket::Other;
        takeOff(bucketTotals, node.m_bucket,
                ownBlocks + (smallFilesHere ? node.m_smallFilesSize : 0));
    }
}

} // namespace dorvale
