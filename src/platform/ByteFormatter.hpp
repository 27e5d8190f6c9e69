#pragma once

#include <cstdint>
#include <string>

namespace dorvale {

/// Turns byte counts into the texts every screen shows, in the style the system uses for
/// file sizes: decimal units (1 KB = 1,000 bytes), from kilobytes to terabytes only, the
/// number in the current ICU locale.
///
/// - 0, and any negative count, is "Zero KB".
/// - The unit is the largest one the count reaches, at least KB; a count below 1,000 bytes
///   is "1 KB", so no size that holds something reads as zero.
/// - KB shows no fraction digits, MB at most one, GB and TB at most two; trailing zeros are
///   dropped ("1 MB", "1.5 MB", "1.23 GB"). Rounding is half to even.
/// - A count that rounds up to 1,000 of its unit moves to the next unit ("1 MB", not
///   "1,000 KB"); above that, terabytes grow with grouping ("1,500 TB").
///
/// Keeps no state of its own (the ICU formatters it uses are cached per thread) and may be
/// used from any thread.
class ByteFormatter {
public:
    [[nodiscard]] std::string string(std::int64_t byteCount) const;
};

/// The one formatter shared by the whole program.
[[nodiscard]] const ByteFormatter& byteFormatter();

} // namespace dorvale
