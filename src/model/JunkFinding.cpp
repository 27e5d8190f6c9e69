#include "model/JunkFinding.hpp"

#include <numeric>

namespace dorvale {

std::int64_t JunkFinding::totalSize() const {
    return std::accumulate(items.begin(), items.end(), std::int64_t{0},
                           [](std::int64_t sum, const JunkItem& item) { return sum + item.size; });
}

} // namespace dorvale

namespace {

void combine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace

std::size_t std::hash<dorvale::JunkItem>::operator()(const dorvale::JunkItem& item) const noexcept {
    std::size_t seed = std::hash<std::string>{}(item.id);
    combine(seed, std::hash<std::string>{}(item.ruleID));
    combine(seed, std::hash<std::int64_t>{}(item.size));
    combine(seed, std::hash<std::int64_t>{}(item.fileCount));
    combine(seed, std::hash<std::optional<dorvale::Timestamp>>{}(item.modified));
    return seed;
}
