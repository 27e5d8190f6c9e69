#pragma once

#include <Qt>

#include <cstdint>
#include <vector>

namespace dorvale {

/// The indexes of `keys` ordered by key in `order`, equal keys in index order whichever the
/// direction: what `std::stable_sort` of the indexes gives with `<` ascending and `>`
/// descending. A radix sort, so its time grows with the number of keys and the number of
/// bits their range spans, not with comparisons. It works in the storage of `keys`.
[[nodiscard]] std::vector<std::uint32_t> keyOrder(std::vector<std::int64_t> keys,
                                                  Qt::SortOrder order);

} // namespace dorvale
