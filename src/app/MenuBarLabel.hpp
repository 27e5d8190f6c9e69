#pragma once

#include "platform/VolumeInfo.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// What the tray icon shows of the start-up volume: a symbol, and the free space while the
/// volume is known.
struct MenuBarLabel {
    /// "internaldrive", or "exclamationmark.triangle.fill" while the free space is below the
    /// warning threshold.
    std::string_view symbol;
    /// The free space (negative counts as none), formatted; nothing while the volume is
    /// unknown.
    std::optional<std::string> title;

    /// The label for `volume` with a warning threshold of `lowSpaceGB` gigabytes (10^9
    /// bytes). It follows the current free space at every change, with no latch and no
    /// re-arm band; a threshold below 1 turns the warning off, as it does for the
    /// notification.
    [[nodiscard]] static MenuBarLabel of(const std::optional<VolumeInfo>& volume,
                                         std::int64_t lowSpaceGB);

    friend bool operator==(const MenuBarLabel&, const MenuBarLabel&) = default;
};

} // namespace dorvale
