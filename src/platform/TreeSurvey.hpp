#pragma once

#include <cstdint>
#include <string>

namespace dorvale {

/// What one look over an item and everything beneath it found.
struct TreeSurvey {
    /// The item, or something beneath it, is the top of a mount other than its folder's. The
    /// look stops there.
    bool holdsMount = false;
    /// The bytes the item occupies on disk, everything in a folder included.
    std::int64_t allocated = 0;
};

/// Looks over the entry `name` of the folder open as `folderFd` and everything beneath it,
/// following no link: a link counts as itself. Folders that cannot be listed are not entered
/// (a removal cannot enter them either). Blocks on the disk.
[[nodiscard]] TreeSurvey surveyTree(int folderFd, const std::string& name);

} // namespace dorvale
