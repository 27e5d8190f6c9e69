#pragma once

#include <cstdint>

namespace dorvale {

/// An opaque sRGB colour with 8-bit components.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

} // namespace dorvale
