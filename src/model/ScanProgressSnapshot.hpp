#pragma once

#include <cstdint>
#include <string>

namespace dorvale {

/// How far a running scan has come, as reported to its progress callback.
struct ScanProgressSnapshot {
    /// Files counted so far (second and later hard links excluded).
    std::int64_t files = 0;
    /// Allocated bytes of those files; folders' own blocks are not included.
    std::int64_t bytes = 0;
    /// The entry just handled, in matching form (without the data-volume prefix).
    std::string currentPath{};
};

} // namespace dorvale
