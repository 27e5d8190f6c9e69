#include "widgets/KeyOrder.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <numeric>

namespace dorvale {

namespace {

// Digits of 11 bits: a pass's counts (8 KiB) stay in the first-level cache, and a range of
// 32 bits takes three passes.
constexpr int digitBits = 11;
constexpr std::size_t digitValues = std::size_t{1} << digitBits;
constexpr std::uint64_t digitMask = digitValues - 1;
constexpr int mostPasses = (64 + digitBits - 1) / digitBits;

using Counts = std::array<std::uint32_t, digitValues>;

// A key wider than the packed form allows, with its index beside it.
struct Wide {
    std::uint64_t key;
    std::uint32_t index;
};

// Orders `values` by their digits 0..passes-1, least significant first, using `buffer` (as
// long as `values`) between passes, and writes their indexes in that order to `result`. Each
// pass keeps the order of equal digits, so values of equal key stay in the order they came
// in. A pass in which every value has the same digit is skipped; the last pass made writes
// the indexes straight away.
template <typename Value, typename DigitOf, typename IndexOf>
void radixSort(Value* values, Value* buffer, std::size_t count, int passes, DigitOf digitOf,
               IndexOf indexOf, std::uint32_t* result) {
    std::array<Counts, mostPasses> counts{};
    for (std::size_t i = 0; i < count; ++i) {
        for (int pass = 0; pass < passes; ++pass) {
            ++counts[static_cast<std::size_t>(pass)][digitOf(values[i], pass)];
        }
    }
    std::array<int, mostPasses> made{};
    int madeCount = 0;
    for (int pass = 0; pass < passes; ++pass) {
        if (counts[static_cast<std::size_t>(pass)][digitOf(values[0], pass)] != count) {
            made[static_cast<std::size_t>(madeCount++)] = pass;
        }
    }
    for (int m = 0; m < madeCount; ++m) {
        const int pass = made[static_cast<std::size_t>(m)];
        Counts& places = counts[static_cast<std::size_t>(pass)];
        std::exclusive_scan(places.begin(), places.end(), places.begin(), std::uint32_t{0});
        if (m + 1 == madeCount) {
            for (std::size_t i = 0; i < count; ++i) {
                result[places[digitOf(values[i], pass)]++] = indexOf(values[i]);
            }
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            buffer[places[digitOf(values[i], pass)]++] = values[i];
        }
        std::swap(values, buffer);
    }
}

} // namespace

// Each key becomes its distance from the first key of the order (from the least ascending,
// from the greatest descending), so an ascending sort of the distances gives either order
// with ties in index order, and only the bits of the keys' range are sorted on. Where the
// distance and the index fit in 64 bits together they are sorted as one integer, in the
// keys' own storage: a sort of a million rows then needs one more buffer of that size, not
// three.
std::vector<std::uint32_t> keyOrder(std::vector<std::int64_t> keys, Qt::SortOrder order) {
    const std::size_t count = keys.size();
    std::vector<std::uint32_t> result(count);
    if (count == 0) {
        return result;
    }
    const auto [least, greatest] = std::minmax_element(keys.begin(), keys.end());
    const int keyBits =
        std::bit_width(static_cast<std::uint64_t>(*greatest) - static_cast<std::uint64_t>(*least));
    if (keyBits == 0) {
        std::iota(result.begin(), result.end(), 0U);
        return result;
    }
    const auto from = static_cast<std::uint64_t>(order == Qt::AscendingOrder ? *least : *greatest);
    const auto distance = [&](std::int64_t key) {
        const auto value = static_cast<std::uint64_t>(key);
        return order == Qt::AscendingOrder ? value - from : from - value;
    };
    const int passes = (keyBits + digitBits - 1) / digitBits;
    const int indexBits = std::bit_width(count - 1);
    if (keyBits + indexBits <= 64) {
        // A signed integer may be read and written through its unsigned type.
        auto* packed = reinterpret_cast<std::uint64_t*>(keys.data());
        for (std::size_t i = 0; i < count; ++i) {
            packed[i] = distance(keys[i]) << indexBits | i;
        }
        const std::uint64_t indexMask = (std::uint64_t{1} << indexBits) - 1;
        const auto buffer = std::make_unique_for_overwrite<std::uint64_t[]>(count);
        radixSort(
            packed, buffer.get(), count, passes,
            [indexBits](std::uint64_t value, int pass) {
                return (value >> indexBits >> (pass * digitBits)) & digitMask;
            },
            [indexMask](std::uint64_t value) {
                return static_cast<std::uint32_t>(value & indexMask);
            },
            result.data());
        return result;
    }
    std::vector<Wide> wide(count);
    for (std::size_t i = 0; i < count; ++i) {
        wide[i] = {distance(keys[i]), static_cast<std::uint32_t>(i)};
    }
    keys = {};
    const auto buffer = std::make_unique_for_overwrite<Wide[]>(count);
    radixSort(
        wide.data(), buffer.get(), count, passes,
        [](const Wide& value, int pass) { return (value.key >> (pass * digitBits)) & digitMask; },
        [](const Wide& value) { return value.index; }, result.data());
    return result;
}

} // namespace dorvale
