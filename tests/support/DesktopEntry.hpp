#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a desktop entry's Exec key back as a launcher does, to check what an entry starts.
namespace dorvale::test {

/// Undoes the desktop-entry string escapes; nothing for an escape the format does not have.
[[nodiscard]] std::optional<std::string> unescapedString(std::string_view value);

/// Splits an unescaped Exec value into arguments as a launcher does: double-quoted arguments
/// with "\" before '"', "`", "$" and "\", and "%%" for a "%". Any other field code, or a
/// malformed quote, yields nothing: a launcher would expand or refuse it.
[[nodiscard]] std::optional<std::vector<std::string>> execArguments(std::string_view exec);

/// The raw value of the first Exec key of an entry's contents.
[[nodiscard]] std::optional<std::string> execLine(const std::string& contents);

/// The command an entry's contents start: its Exec key unescaped and split.
[[nodiscard]] std::optional<std::vector<std::string>> entryCommand(const std::string& contents);

} // namespace dorvale::test
