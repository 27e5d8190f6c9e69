#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Letter-case helpers for names held as raw bytes, which need not be valid UTF-8.
namespace dorvale {

/// The text with every code point lowercased (simple Unicode mapping). Bytes that are not
/// valid UTF-8 are kept as they are, so a name compares equal only to the same bytes.
[[nodiscard]] std::string lowercased(std::string_view text);

/// The number of code points in the text, each ill-formed byte counting as one.
[[nodiscard]] std::size_t characterCount(std::string_view text);

} // namespace dorvale
