#include "app/MenuBarLabel.hpp"

#include "platform/ByteFormatter.hpp"

#include <algorithm>

namespace dorvale {

namespace {

constexpr std::string_view driveSymbol = "internaldrive";
constexpr std::string_view warningSymbol = "exclamationmark.triangle.fill";
constexpr double gigabyte = 1e9;

} // namespace

MenuBarLabel MenuBarLabel::of(const std::optional<VolumeInfo>& volume, std::int64_t lowSpaceGB) {
    if (!volume) {
        return {driveSymbol, std::nullopt};
    }
    // Compared in floating point, so that no stored threshold can overflow.
    const bool low = lowSpaceGB >= 1 && static_cast<double>(lowSpaceGB) * gigabyte >
                                            static_cast<double>(volume->available);
    return {low ? warningSymbol : driveSymbol, byteFormatter().string(volume->available)};
}

} // namespace dorvale
