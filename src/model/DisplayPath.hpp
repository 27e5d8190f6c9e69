#pragma once

#include "platform/Locations.hpp"
#include "platform/Paths.hpp"

#include <string>
#include <string_view>

namespace dorvale {

/// The path as shown to the user: the matching path (`matchingPath`) with the home folder
/// shown as "~".
[[nodiscard]] std::string displayPath(std::string_view path, const Locations& locations);

} // namespace dorvale
