#include "model/MatchingPath.hpp"

#include "platform/Paths.hpp"

namespace dorvale {

MatchingPath MatchingPath::ofRealPath(std::string_view realPath, std::string_view dataVolume) {
    const std::string normalized = normalizePath(realPath);
    return MatchingPath(std::string(matchingPath(normalized, normalizePath(dataVolume))));
}

MatchingPath MatchingPath::asSeenFromRoot(std::string_view path) {
    return MatchingPath(normalizePath(path));
}

} // namespace dorvale
