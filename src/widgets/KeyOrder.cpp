#include "widgets/KeyOrder.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <numeric>
#include <optional>

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

namespace {

// Below this many indexes a run of ties is sorted by comparison: a radix sort's counts would
// cost more than the comparisons save.
constexpr std::size_t radixRun = 1024;

// A range of the order whose indexes tie on every key sorted by so far.
struct Run {
    std::size_t begin;
    std::size_t end;
};

// The keys one pass sorts by: one key of the order, or several packed into one integer.
struct Level {
    std::vector<std::int64_t> keys;
    Qt::SortOrder order;
};

struct Range {
    std::int64_t least;
    std::int64_t greatest;
    int bits;
};

Range rangeOf(const std::vector<std::int64_t>& keys) {
    const auto [least, greatest] = std::minmax_element(keys.begin(), keys.end());
    return {*least, *greatest,
            static_cast<int>(std::bit_width(static_cast<std::uint64_t>(*greatest) -
                                            static_cast<std::uint64_t>(*least)))};
}

// Shifts `packed` left by the bits of `range` and puts each key's distance from the first
// key of `order` below: an ascending order of the result then orders by the earlier keys and
// breaks their ties by this one.
void pack(std::vector<std::int64_t>& packed, const std::vector<std::int64_t>& keys,
          const Range& range, Qt::SortOrder order) {
    const auto least = static_cast<std::uint64_t>(range.least);
    const auto greatest = static_cast<std::uint64_t>(range.greatest);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto key = static_cast<std::uint64_t>(keys[i]);
        const std::uint64_t distance = order == Qt::AscendingOrder ? key - least : greatest - key;
        packed[i] = static_cast<std::int64_t>(static_cast<std::uint64_t>(packed[i]) << range.bits |
                                              distance);
    }
}

// The keys of an order by several keys, each made when first needed, handed out in levels:
// as many keys in a row packed into one as their ranges fit in a non-negative integer that
// a radix sort can still pack beside an index.
class Levels {
public:
    Levels(std::size_t count, const std::vector<OrderKey>& keys)
        : m_keys(keys)
        , m_budget(std::min(63, 64 - static_cast<int>(std::bit_width(count - 1)))) {}

    [[nodiscard]] bool done() const { return m_next == m_keys.size(); }

    Level next() {
        const Qt::SortOrder order = m_keys[m_next].order;
        std::vector<std::int64_t> first = take();
        const Range firstRange = rangeOf(first);
        int bits = firstRange.bits;
        std::optional<std::vector<std::int64_t>> packed;
        while (!done() && bits <= m_budget) {
            std::vector<std::int64_t> keys = take();
            const Range range = rangeOf(keys);
            if (bits + range.bits > m_budget) {
                --m_next;
                m_pending = std::move(keys);
                break;
            }
            if (!packed) {
                packed.emplace(first.size(), 0);
                pack(*packed, first, firstRange, order);
            }
            pack(*packed, keys, range, m_keys[m_next - 1].order);
            bits += range.bits;
        }
        if (packed) {
            return {std::move(*packed), Qt::AscendingOrder};
        }
        return {std::move(first), order};
    }

private:
    // The keys of the next key of the order.
    std::vector<std::int64_t> take() {
        const OrderKey& key = m_keys[m_next++];
        if (m_pending) {
            std::vector<std::int64_t> keys = std::move(*m_pending);
            m_pending.reset();
            return keys;
        }
        return key.keys();
    }

    const std::vector<OrderKey>& m_keys;
    int m_budget;
    std::size_t m_next = 0;
    // Keys made for a level that they did not fit in.
    std::optional<std::vector<std::int64_t>> m_pending;
};

// Sorts the indexes of a run, which are in index order, by `level`, ties in index order.
void sortRun(std::uint32_t* run, std::size_t size, const Level& level) {
    const std::vector<std::int64_t>& keys = level.keys;
    if (size < radixRun) {
        const bool ascending = level.order == Qt::AscendingOrder;
        std::sort(run, run + size, [&keys, ascending](std::uint32_t a, std::uint32_t b) {
            if (keys[a] != keys[b]) {
                return ascending ? keys[a] < keys[b] : keys[a] > keys[b];
            }
            return a < b;
        });
        return;
    }
    std::vector<std::int64_t> runKeys(size);
    std::transform(run, run + size, runKeys.begin(), [&keys](std::uint32_t i) { return keys[i]; });
    const std::vector<std::uint32_t> places = keyOrder(std::move(runKeys), level.order);
    std::vector<std::uint32_t> sorted(size);
    std::transform(places.begin(), places.end(), sorted.begin(),
                   [run](std::uint32_t place) { return run[place]; });
    std::copy(sorted.begin(), sorted.end(), run);
}

// Adds the runs of `run` whose indexes have equal keys, now that it is sorted by them.
void addTies(const std::vector<std::uint32_t>& order, const Run& run,
             const std::vector<std::int64_t>& keys, std::vector<Run>& ties) {
    std::size_t begin = run.begin;
    for (std::size_t i = run.begin + 1; i <= run.end; ++i) {
        if (i == run.end || keys[order[i]] != keys[order[begin]]) {
            if (i - begin > 1) {
                ties.push_back({begin, i});
            }
            begin = i;
        }
    }
}

} // namespace

// Level by level, most significant first: the whole order is sorted by the first level, then
// each run that ties on it by the next, and so on while ties remain. Each sort leaves the
// indexes of equal keys in index order, which is what the next level's radix sort keeps.
std::vector<std::uint32_t> keyOrder(std::size_t count, const std::vector<OrderKey>& keys) {
    if (keys.empty() || count < 2) {
        std::vector<std::uint32_t> order(count);
        std::iota(order.begin(), order.end(), 0U);
        return order;
    }
    Levels levels(count, keys);
    Level level = levels.next();
    if (levels.done()) {
        return keyOrder(std::move(level.keys), level.order);
    }
    std::vector<std::uint32_t> order = keyOrder(level.keys, level.order);
    std::vector<Run> runs;
    addTies(order, {0, count}, level.keys, runs);
    while (!runs.empty()) {
        level = levels.next();
        std::vector<Run> ties;
        for (const Run& run : runs) {
            sortRun(order.data() + run.begin, run.end - run.begin, level);
            if (!levels.done()) {
                addTies(order, run, level.keys, ties);
            }
        }
        runs = std::move(ties);
    }
    return order;
}

} // namespace dorvale
