#pragma once

#include <cstdint>

namespace dorvale {

/// The stage of the guided smart clean, in the order the flow passes through them.
enum class SmartPhase : std::uint8_t {
    Idle,
    Scanning,
    Review,
    Cleaning,
    Done,
};

} // namespace dorvale
