#include "model/DisplayPath.hpp"

#include "platform/Paths.hpp"

namespace dorvale {

std::string displayPath(std::string_view path, const Locations& locations) {
    const std::string_view matched = matchingPath(path, locations.dataVolume);
    const std::string_view home = matchingPath(locations.home, locations.dataVolume);
    if (matched == home) {
        return "~";
    }
    if (home != "/" && isSameOrInside(matched, home)) {
        return "~" + std::string(matched.substr(home.size()));
    }
    return std::string(matched);
}

} // namespace dorvale
