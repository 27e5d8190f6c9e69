#pragma once

#include "widgets/NameRanks.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// The sort keys of a text field of `rows`: each row's place in the language's order of the
/// field (digits by value, case ignored), rows that order alike sharing one.
template <typename Row>
[[nodiscard]] std::vector<std::int64_t> textRanks(const std::vector<Row>& rows,
                                                  std::string Row::*field) {
    std::vector<std::string_view> texts;
    texts.reserve(rows.size());
    for (const Row& row : rows) {
        texts.emplace_back(row.*field);
    }
    const std::vector<std::uint32_t> ranks = NameRanks::rank(texts);
    return {ranks.begin(), ranks.end()};
}

} // namespace dorvale
