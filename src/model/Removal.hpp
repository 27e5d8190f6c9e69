#pragma once

#include <cstdint>

namespace dorvale {

/// How an item goes away: deleted outright, or moved to the Trash.
enum class Removal : std::uint8_t {
    Permanent,
    Trash,
};

} // namespace dorvale
