#pragma once

#include "platform/Locations.hpp"

#include <QString>

#include <string_view>

namespace dorvale {

/// Path bytes as the screens show them, decoded the way the system decodes file names
/// (`QFile::decodeName`), so a name that is not valid UTF-8 still shows. For showing only:
/// whatever goes back to the file system uses the original bytes.
[[nodiscard]] QString pathText(std::string_view bytes);

/// A path as the screens show it: its matching path with the home folder as "~"
/// (`displayPath`), as text.
[[nodiscard]] QString shownPath(std::string_view path, const Locations& locations);

} // namespace dorvale
