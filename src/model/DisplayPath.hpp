#pragma once

#include "platform/Locations.hpp"

#include <string>
#include <string_view>

namespace dorvale {

/// The path as matched against exclusions, filters and exports: with the data-volume prefix
/// dropped ("/" for the prefix itself). The home folder is kept written out. The result
/// points into `path` (or is the literal "/").
[[nodiscard]] std::string_view matchingPath(std::string_view path, std::string_view dataVolume);

/// The path as shown to the user: the matching path with the home folder shown as "~".
[[nodiscard]] std::string displayPath(std::string_view path, const Locations& locations);

} // namespace dorvale
