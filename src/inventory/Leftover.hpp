#pragma once

#include "platform/Clock.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dorvale {

/// Data in the user's Library named after an application identifier that no installed
/// application owns.
struct Leftover {
    /// Absolute path of the item (raw bytes).
    std::string path{};
    /// The item's name without a ".plist", ".savedState" or ".binarycookies" ending, in the
    /// letter case it was listed in.
    std::string identifier{};
    /// The localized label of the Library location it lies in, for display.
    std::string location{};
    /// Allocated bytes of the item and everything beneath it; never below the finder's
    /// threshold.
    std::int64_t size = 0;
    /// Content modification date; absent when it could not be read.
    std::optional<Timestamp> modified{};

    [[nodiscard]] const std::string& id() const { return path; }
    bool operator==(const Leftover&) const = default;
};

} // namespace dorvale

template <>
struct std::hash<dorvale::Leftover> {
    std::size_t operator()(const dorvale::Leftover& leftover) const noexcept {
        std::size_t value = std::hash<std::string>{}(leftover.path);
        const auto mix = [&value](std::size_t next) {
            value = value * 31 + next;
        };
        mix(std::hash<std::string>{}(leftover.identifier));
        mix(std::hash<std::string>{}(leftover.location));
        mix(std::hash<std::int64_t>{}(leftover.size));
        mix(leftover.modified.has_value() ? 1 : 0);
        if (leftover.modified) {
            mix(std::hash<double>{}(*leftover.modified));
        }
        return value;
    }
};
