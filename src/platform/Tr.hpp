#pragma once

#include <string_view>

namespace dorvale {

/// Looks up the text shown to the user for a fixed English text. The key must have static
/// storage (a string literal); the result stays valid for the life of the process. Until
/// translations exist every key is its own translation.
[[nodiscard]] std::string_view tr(std::string_view key);

} // namespace dorvale
