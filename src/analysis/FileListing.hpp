#pragma once

#include "model/FileFilter.hpp"
#include "model/ScanResult.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dorvale {

/// The files of a scan that a screen lists, in the scan's walk order, with their total size.
struct FileListing {
    std::vector<const FileNode*> nodes;
    std::int64_t size = 0;

    /// The file nodes of a scan by kind, deleted ones too, each list in walk order.
    using KindLists = std::array<std::vector<const FileNode*>, allFileKinds.size()>;

    /// The live files of `scan` that `filter` passes at `now`. Files inside a deleted folder
    /// are marked deleted with it, so they are left out too.
    [[nodiscard]] static FileListing of(const ScanResult& scan, const FileFilter& filter,
                                        Timestamp now, std::string_view dataVolume);
    /// The live ones of `files` that `filter` passes at `now`, in their order.
    [[nodiscard]] static FileListing of(std::span<const FileNode* const> files,
                                        const FileFilter& filter, Timestamp now,
                                        std::string_view dataVolume);

    /// Made once for a scan, so a screen listing one kind walks only that kind's files.
    [[nodiscard]] static KindLists byKind(const ScanResult& scan);
};

} // namespace dorvale
