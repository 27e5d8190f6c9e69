#pragma once

#include "platform/RawValue.hpp"
#include "platform/Tr.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// How safe it is to delete something, ordered from safe to protected. The raw value is the
/// position.
enum class Risk : std::uint8_t {
    Safe = 0,
    Review = 1,
    Protected = 2,
};

/// Every risk, from safe to protected.
inline constexpr std::array allRisks = {Risk::Safe, Risk::Review, Risk::Protected};

/// The raw value, which is also the risk's identity when stored: 0, 1 or 2.
[[nodiscard]] constexpr int rawValue(Risk risk) {
    return static_cast<int>(risk);
}

/// The risk with this raw value, or nothing for a value outside 0 to 2.
[[nodiscard]] constexpr std::optional<Risk> riskFromRaw(std::int64_t raw) {
    return atPosition(allRisks, raw);
}

/// "Safe", "Review" or "Protected", in the current language.
[[nodiscard]] inline std::string_view title(Risk risk) {
    switch (risk) {
    case Risk::Safe:
        return tr("Safe");
    case Risk::Review:
        return tr("Review");
    case Risk::Protected:
        return tr("Protected");
    }
    return {};
}

} // namespace dorvale
