#include "app/JunkSearch.hpp"

#include <utility>

namespace dorvale {

std::function<std::vector<JunkFinding>()> junkSearch(const AppServices& services,
                                                     std::vector<JunkRule> rules) {
    return [scanJunk = services.scanJunk, locations = services.locations, clock = &services.clock,
            probe = services.hasFullDiskAccess, rules = std::move(rules)] {
        if (!locations.home.starts_with('/')) {
            return std::vector<JunkFinding>();
        }
        return scanJunk(rules, locations, *clock, probe);
    };
}

} // namespace dorvale
