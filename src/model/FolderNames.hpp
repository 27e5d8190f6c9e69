#pragma once

#include <string_view>
#include <unordered_set>

namespace dorvale {

/// Name extensions that make a folder a package (compared case-sensitively).
[[nodiscard]] const std::unordered_set<std::string_view>& packageExtensions();

/// Exact folder names that hold developer tooling and caches.
[[nodiscard]] const std::unordered_set<std::string_view>& developerFolderNames();

/// Whether the text after the last "." of a folder's name is a package extension.
[[nodiscard]] bool isPackageName(std::string_view name);

} // namespace dorvale
