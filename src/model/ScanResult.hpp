#pragma once

#include "model/FileKind.hpp"
#include "model/FileNode.hpp"
#include "model/NodeArena.hpp"
#include "model/StorageBucket.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dorvale {

/// The outcome of one finished scan. It owns every node of its tree through `nodes`; the
/// node pointers stay valid for as long as the result lives. Its nodes are const: once the
/// scan is done, `markDeleted` is the only change the tree sees.
struct ScanResult {
    std::unique_ptr<NodeArena> nodes = std::make_unique<NodeArena>();
    /// The scanned folder; its name is the scanned path exactly as given.
    const FileNode* root = nullptr;
    std::string rootPath;
    /// Every file node of the tree, in walk order.
    std::vector<const FileNode*> files;
    /// Allocated bytes per bucket (files and folders' own blocks); empty buckets are absent.
    std::map<StorageBucket, std::int64_t> bucketTotals;
    /// Allocated bytes and number of counted files per kind.
    std::map<FileKind, std::int64_t> kindTotals;
    std::map<FileKind, std::int64_t> kindCounts;
    /// What the walk met; deletions leave these as they are.
    std::int64_t totalFiles = 0;
    std::int64_t totalDirectories = 0;
    std::int64_t unreadableDirectories = 0;
    std::int64_t hardLinksSkipped = 0;
    /// Seconds from the start of the scan to the end of the walk.
    double duration = 0;
    Timestamp finishedAt = 0;

    /// Records that `node` was deleted on disk, and everything beneath it with it: the node
    /// and its whole subtree are marked deleted, the node's size, logical size and file count
    /// come off each of its ancestors once, and what the newly deleted nodes had added to
    /// the bucket and kind totals comes off those. A node that is already deleted, lies
    /// inside a deleted folder or belongs to another tree changes nothing. Returns whether
    /// anything changed.
    ///
    /// The totals lose what the tree can attribute: each file node's bytes (its bucket, its
    /// kind and one count) and each folder's own blocks, with the small files of a folder
    /// whose bucket is not `Other`. The small files of an `Other` folder were counted under
    /// the buckets of their kinds, which the tree does not keep, so those bytes stay where
    /// they are, as do all small files in the kind totals. No total drops below zero.
    bool markDeleted(const FileNode& node);

private:
    void deleteSubtree(FileNode& top);
};

} // namespace dorvale
