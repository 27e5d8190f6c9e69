#include "model/FileFilter.hpp"

#include "model/DisplayPath.hpp"
#include "platform/Text.hpp"

namespace dorvale {

bool FileFilter::matches(const FileNode& node, Timestamp now, std::string_view dataVolume) const {
    if (node.size() < minSize) {
        return false;
    }
    if (!kinds.empty() && !kinds.contains(node.kind())) {
        return false;
    }
    if (bucket && *bucket != node.bucket()) {
        return false;
    }
    if (modifiedOlderThanDays &&
        node.modified() > now - static_cast<double>(*modifiedOlderThanDays) * secondsPerDay) {
        return false;
    }
    // The full path is rebuilt only when a condition needs it.
    std::string path;
    const auto matched = [&] {
        if (path.empty()) {
            path = node.path();
        }
        return matchingPath(path, dataVolume);
    };
    if (!query.empty()) {
        const bool byPath = query.find('/') != std::string::npos;
        if (!containsIgnoringCase(byPath ? matched() : node.name(), query)) {
            return false;
        }
    }
    return !pathPrefix || matched().starts_with(*pathPrefix);
}

} // namespace dorvale
