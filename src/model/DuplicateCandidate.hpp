#pragma once

#include <cstdint>
#include <string>

namespace dorvale {

class FileNode;

/// What the duplicate search needs to know of one scanned file, copied out of its node on the
/// thread that owns the tree so that the search itself can run on another thread. A list of
/// candidates is in scan order: earlier in the list means earlier in the scan.
struct DuplicateCandidate {
    std::string path{};
    /// File length in bytes.
    std::int64_t logicalSize = 0;
    /// Bytes allocated on disk.
    std::int64_t size = 0;
    /// Whole seconds since 1970.
    double modified = 0;
    bool deleted = false;
    /// The node the values were copied from. The search only carries it through to name the
    /// files of a group and never dereferences it.
    const FileNode* node = nullptr;
};

} // namespace dorvale
