#pragma once

#include "platform/Clock.hpp"

#include <optional>
#include <string>

// File dates as the program reads them: whole seconds, of the item itself (a symbolic
// link's own dates, never those of what it points to). Each call blocks on one lstat.
namespace dorvale {

/// When the item's content was last read, or nothing when it cannot be examined.
[[nodiscard]] std::optional<Timestamp> contentAccessDate(const std::string& path);

/// When the item's content was last changed, or nothing when it cannot be examined.
[[nodiscard]] std::optional<Timestamp> contentModificationDate(const std::string& path);

} // namespace dorvale
