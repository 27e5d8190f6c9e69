#include "model/JunkFinding.hpp"

#include <numeric>

namespace dorvale {

std::int64_t JunkFinding::totalSize() const {
    return std::accumulate(items.begin(), items.end(), std::int64_t{0},
                           [](std::int64_t sum, const JunkItem& item) { return sum + item.size; });
}

} // namespace dorvale
