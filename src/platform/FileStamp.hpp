#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dorvale {

/// What tells one version of a file from another without reading it: an atomic rewrite makes
/// a new inode, and any other change moves the size or the modification time.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    /// The stamp of the file at `path` (its final link followed), or nothing when it cannot be
    /// looked at.
    [[nodiscard]] static std::optional<FileStamp> of(const std::string& path);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

} // namespace dorvale
