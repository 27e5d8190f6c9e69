#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dorvale {

class FileNode;

/// Files of equal length and byte-for-byte equal content.
struct DuplicateGroup {
    /// SHA-256 of the content, 64 lower-case hexadecimal digits.
    std::string id{};
    /// Bytes one copy takes on disk: the allocated size of the group's file that came first in
    /// the scan.
    std::int64_t size = 0;
    /// At least two files, oldest modification first (equal times keep scan order); the first
    /// is the copy to keep.
    std::vector<const FileNode*> files{};

    /// The space freed by keeping one copy.
    [[nodiscard]] std::int64_t reclaimable() const {
        return files.empty() ? 0 : size * static_cast<std::int64_t>(files.size() - 1);
    }
};

} // namespace dorvale
