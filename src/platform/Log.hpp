#pragma once

#include <string_view>

namespace dorvale {

/// Writes one line to the standard error stream, as the program's warnings are: something
/// went wrong that the window cannot show and the user may want to look into.
void logWarning(std::string_view line);

} // namespace dorvale
