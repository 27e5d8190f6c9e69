#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// A 128-bit universally unique identifier.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    /// A fresh random (version 4) identifier.
    [[nodiscard]] static Uuid random();
    /// Reads the canonical 36-character form (8-4-4-4-12 hexadecimal digits separated by
    /// "-") in either case; anything else gives nothing.
    [[nodiscard]] static std::optional<Uuid> parse(std::string_view text);
    /// The canonical form in upper-case hexadecimal.
    [[nodiscard]] std::string text() const;

    auto operator<=>(const Uuid&) const = default;
};

} // namespace dorvale
