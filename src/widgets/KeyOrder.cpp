#include "widgets/KeyOrder.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

namespace dorvale {

namespace {

// Digits of 11 bits: a pass's counts (8 KiB) stay in the first-level cache, and a range of
// 32 bits takes three passes.
constexpr int digitBits = 11;
constexpr std::size_t digitValues = std::size_t{1} << digitBits;
constexpr int mostPasses = (64 + digitBits - 1) / digitBits;

using Counts = std::array<std::uint32_t, digitValues>;

// A key wider than the packed form allows, with its index beside it.
struct Wide {
    std::uint64_t key;
    std::uint32_t index;
};

// Sorts `values` by their digits 0..passes-1, least significant first; each pass keeps the
// order of equal digits, so values of equal key stay in the order they came in. A pass in
// which every value has the same digit is skipped.
template <typename Value, typename DigitOf>
void radixSort(std::vector<Value>& values, int passes, DigitOf digitOf) {
    std::array<Counts, mostPasses> counts{};
    for (const Value& value : values) {
        for (int pass = 0; pass < passes; ++pass) {
            ++counts[static_cast<std::size_t>(pass)][digitOf(value, pass)];
        }
    }
    std::vector<Value> buffer(values.size());
    for (int pass = 0; pass < passes; ++pass) {
        Counts& places = counts[static_cast<std::size_t>(pass)];
        if (places[digitOf(values.front(), pass)] == values.size()) {
            continue;
        }
        std::exclusive_scan(places.begin(), places.end(), places.begin(), std::uint32_t{0});
        for (const Value& value : values) {
            buffer[places[digitOf(value, pass)]++] = value;
        }
        values.swap(buffer);
    }
}

} // namespace

// Each key becomes its distance from the first key of the order (from the least ascending,
// from the greatest descending), so an ascending sort of the distances gives either order
// with ties in index order, and only the bits of the keys' range are sorted on. Where the
// distance and the index fit in 64 bits together they are sorted as one integer.
std::vector<std::uint32_t> keyOrder(std::span<const std::int64_t> keys, Qt::SortOrder order) {
    const std::size_t count = keys.size();
    std::vector<std::uint32_t> result(count);
    if (count == 0) {
        return result;
    }
    const auto [least, greatest] = std::minmax_element(keys.begin(), keys.end());
    const auto from = static_cast<std::uint64_t>(order == Qt::AscendingOrder ? *least : *greatest);
    const auto distance = [&](std::int64_t key) {
        const auto value = static_cast<std::uint64_t>(key);
        return order == Qt::AscendingOrder ? value - from : from - value;
    };
    const int keyBits =
        std::bit_width(static_cast<std::uint64_t>(*greatest) - static_cast<std::uint64_t>(*least));
    if (keyBits == 0) {
        std::iota(result.begin(), result.end(), 0U);
        return result;
    }
    const int passes = (keyBits + digitBits - 1) / digitBits;
    const int indexBits = std::bit_width(count - 1);
    constexpr std::uint64_t digitMask = digitValues - 1;
    if (keyBits + indexBits <= 64) {
        std::vector<std::uint64_t> packed(count);
        for (std::size_t i = 0; i < count; ++i) {
            packed[i] = distance(keys[i]) << indexBits | i;
        }
        radixSort(packed, passes, [indexBits](std::uint64_t value, int pass) {
            return (value >> indexBits >> (pass * digitBits)) & digitMask;
        });
        const std::uint64_t indexMask = (std::uint64_t{1} << indexBits) - 1;
        std::transform(packed.begin(), packed.end(), result.begin(),
                       [indexMask](std::uint64_t value) {
                           return static_cast<std::uint32_t>(value & indexMask);
                       });
        return result;
    }
    std::vector<Wide> wide(count);
    for (std::size_t i = 0; i < count; ++i) {
        wide[i] = {distance(keys[i]), static_cast<std::uint32_t>(i)};
    }
    radixSort(wide, passes, [](const Wide& value, int pass) {
        return (value.key >> (pass * digitBits)) & digitMask;
    });
    std::transform(wide.begin(), wide.end(), result.begin(),
                   [](const Wide& value) { return value.index; });
    return result;
}

} // namespace dorvale
