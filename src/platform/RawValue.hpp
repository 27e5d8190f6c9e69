#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

// Reading an enumeration back from the raw value it is stored or passed by. `all` lists every
// value of the enumeration.
namespace dorvale {

/// The value among `all` whose `rawValue` is exactly `raw` (case-sensitive), or nothing.
template <typename Enum, std::size_t count>
[[nodiscard]] std::optional<Enum> findByRawValue(const std::array<Enum, count>& all,
                                                 std::string_view raw) {
    for (const Enum value : all) {
        if (rawValue(value) == raw) {
            return value;
        }
    }
    return std::nullopt;
}

/// The value at `position` in `all`, for enumerations whose raw value is their position; nothing
/// outside it.
template <typename Enum, std::size_t count, typename Position>
[[nodiscard]] constexpr std::optional<Enum> atPosition(const std::array<Enum, count>& all,
                                                       Position position) {
    static_assert(std::is_integral_v<Position>);
    if (std::cmp_less(position, 0) || std::cmp_greater_equal(position, count)) {
        return std::nullopt;
    }
    return all[static_cast<std::size_t>(position)];
}

} // namespace dorvale
