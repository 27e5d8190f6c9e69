#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// The category a junk rule is shown under. Its raw value (and identity) is its name.
enum class JunkGroup : std::uint8_t {
    System,
    Trash,
    Mail,
    Developer,
    Devices,
    Downloads,
};

inline constexpr std::array allJunkGroups = {
    JunkGroup::System,    JunkGroup::Trash,   JunkGroup::Mail,
    JunkGroup::Developer, JunkGroup::Devices, JunkGroup::Downloads,
};

/// "system", "trash", "mail", "developer", "devices" or "downloads".
[[nodiscard]] std::string_view rawValue(JunkGroup group);

/// The group whose raw value is exactly `raw` (case-sensitive), or nothing.
[[nodiscard]] std::optional<JunkGroup> junkGroupFromRaw(std::string_view raw);

/// The group's title in the current language.
[[nodiscard]] std::string_view title(JunkGroup group);

} // namespace dorvale
