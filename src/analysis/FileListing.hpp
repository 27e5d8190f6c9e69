#pragma once

#include "model/FileFilter.hpp"
#include "model/ScanResult.hpp"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace dorvale {

/// The files of a scan that a screen lists, in the scan's walk order, with their total size.
struct FileListing {
    std::vector<const FileNode*> nodes;
    std::int64_t size = 0;

    /// The live files of `scan` (of `kind` when given) that `filter` passes at `now`. Files
    /// inside a deleted folder are marked deleted with it, so they are left out too.
    [[nodiscard]] static FileListing of(const ScanResult& scan, const FileFilter& filter,
                                        Timestamp now, std::string_view dataVolume,
                                        std::optional<FileKind> kind = std::nullopt);
};

} // namespace dorvale
