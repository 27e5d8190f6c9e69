#pragma once

#include "model/FileNode.hpp"

#include <cstdint>
#include <vector>

namespace dorvale {

/// Folders above this many bytes are worth listing, and only folders above it are entered.
inline constexpr std::int64_t largestFolderThreshold = 209'715'200;
/// At most this many folders are listed.
inline constexpr std::size_t largestFolderCount = 9;

/// The overview's largest folders below `root`, largest first (equal sizes in the order the
/// walk met them): folders above 200 MiB at depths 2 to 6, where the root is at depth 0.
/// Only live folders above the threshold are entered, and no package is looked into. A
/// folder holding a listed folder is never listed itself; a folder inside a listed one
/// replaces it when it holds more than 0.7 of its size, and is left out otherwise.
///
/// Walks only the large folders, so it is quick enough for the GUI thread on any tree.
[[nodiscard]] std::vector<const FileNode*> largestFolders(const FileNode& root);

} // namespace dorvale
