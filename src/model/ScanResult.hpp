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
/// node pointers stay valid for as long as the result lives.
struct ScanResult {
    std::unique_ptr<NodeArena> nodes = std::make_unique<NodeArena>();
    /// The scanned folder; its name is the scanned path exactly as given.
    FileNode* root = nullptr;
    std::string rootPath;
    /// Every file node of the tree, in walk order.
    std::vector<FileNode*> files;
    /// Allocated bytes per bucket (files and folders' own blocks); empty buckets are absent.
    std::map<StorageBucket, std::int64_t> bucketTotals;
    /// Allocated bytes and number of counted files per kind.
    std::map<FileKind, std::int64_t> kindTotals;
    std::map<FileKind, std::int64_t> kindCounts;
    std::int64_t totalFiles = 0;
    std::int64_t totalDirectories = 0;
    std::int64_t unreadableDirectories = 0;
    std::int64_t hardLinksSkipped = 0;
    /// Seconds from the start of the scan to the end of the walk.
    double duration = 0;
    Timestamp finishedAt = 0;
};

} // namespace dorvale
