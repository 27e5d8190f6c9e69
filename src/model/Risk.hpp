#pragma once

#include <cstdint>

namespace dorvale {

/// How safe it is to delete something, ordered from safe to protected. The raw value is the
/// position.
enum class Risk : std::uint8_t {
    Safe = 0,
    Review = 1,
    Protected = 2,
};

} // namespace dorvale
