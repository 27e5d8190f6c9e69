#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// How the explorer shows a folder: as a list or as a map. Kept in the "explorerMode"
/// setting by its raw value.
enum class ExplorerMode : std::uint8_t {
    List,
    Map,
};

inline constexpr std::array allExplorerModes = {ExplorerMode::List, ExplorerMode::Map};

/// "list" or "map".
[[nodiscard]] std::string_view rawValue(ExplorerMode mode);
/// The mode whose raw value is exactly `raw`, or nothing.
[[nodiscard]] std::optional<ExplorerMode> explorerModeFromRaw(std::string_view raw);
/// "List" or "Map", in the current language.
[[nodiscard]] QString title(ExplorerMode mode);
/// "list.bullet" or "chart.pie".
[[nodiscard]] QString symbolName(ExplorerMode mode);

} // namespace dorvale
