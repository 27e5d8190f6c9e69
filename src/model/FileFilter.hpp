#pragma once

#include "model/FileKind.hpp"
#include "model/FileNode.hpp"
#include "model/StorageBucket.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace dorvale {

/// The filter of the large-files and file-type screens. A plain value.
struct FileFilter {
    /// Text searched in the name, or in the matching path when it contains "/".
    std::string query{};
    /// Empty means every kind.
    std::set<FileKind> kinds{};
    std::optional<StorageBucket> bucket{};
    /// Smallest allocated size that passes.
    std::int64_t minSize = 0;
    /// Only nodes modified at least this many days before now pass.
    std::optional<int> modifiedOlderThanDays{};
    /// Only nodes whose matching path starts with this text pass.
    std::optional<std::string> pathPrefix{};
    /// Kept for the screens that hold the filter; `matches` does not read it.
    bool hideProtected = false;

    /// Whether `node` passes at time `now`; paths are matched without the `dataVolume` prefix.
    /// A `FilterPass` answers for many nodes at once.
    [[nodiscard]] bool matches(const FileNode& node, Timestamp now,
                               std::string_view dataVolume) const;

    bool operator==(const FileFilter&) const = default;
};

} // namespace dorvale
