#pragma once

#include <Qt>

#include <cstdint>
#include <functional>
#include <vector>

namespace dorvale {

/// The indexes of `keys` ordered by key in `order`, equal keys in index order whichever the
/// direction: what `std::stable_sort` of the indexes gives with `<` ascending and `>`
/// descending. A radix sort, so its time grows with the number of keys and the number of
/// bits their range spans, not with comparisons. It works in the storage of `keys`.
[[nodiscard]] std::vector<std::uint32_t> keyOrder(std::vector<std::int64_t> keys,
                                                  Qt::SortOrder order);

/// One key of an order by several keys: a function that makes its keys, one per index, and
/// its direction.
struct OrderKey {
    std::function<std::vector<std::int64_t>()> keys;
    Qt::SortOrder order = Qt::AscendingOrder;
};

/// The indexes 0..count-1 ordered by the first of `keys`, its ties by the second, and so on,
/// the remaining ties in index order: what `std::stable_sort` of the indexes gives with a
/// comparison of every key in turn. A key's keys are made only once some indexes tie on
/// every key before it.
[[nodiscard]] std::vector<std::uint32_t> keyOrder(std::size_t count,
                                                  const std::vector<OrderKey>& keys);

} // namespace dorvale
