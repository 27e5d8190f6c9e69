#include "model/DisplayPath.hpp"

#include "platform/Paths.hpp"

namespace dorvale {

std::string_view matchingPath(std::string_view path, std::string_view dataVolume) {
    if (dataVolume.empty() || dataVolume == "/") {
        return path;
    }
    if (path == dataVolume) {
        return "/";
    }
    if (path.size() > dataVolume.size() && path.starts_with(dataVolume) &&
        path[dataVolume.size()] == '/') {
        return path.substr(dataVolume.size());
    }
    return path;
}

std::string displayPath(std::string_view path, const Locations& locations) {
    const std::string_view matched = matchingPath(path, locations.dataVolume);
    const std::string_view home = locations.home;
    if (matched == home) {
        return "~";
    }
    if (home != "/" && isSameOrInside(matched, home)) {
        return "~" + std::string(matched.substr(home.size()));
    }
    return std::string(matched);
}

} // namespace dorvale
