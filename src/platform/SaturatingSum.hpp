#pragma once

#include <cstdint>
#include <limits>

namespace dorvale {

/// `a` + `b`, held at the largest (or smallest) value instead of wrapping: byte counts are
/// summed from figures that a damaged file or a list naming one huge item many times can
/// make as large as they like.
[[nodiscard]] constexpr std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

} // namespace dorvale
