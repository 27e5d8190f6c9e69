#pragma once

#include <string>
#include <string_view>

// Lexical helpers for paths held as raw bytes. None of them touches the file system.
namespace dorvale {

/// Collapses repeated slashes, drops "." components and a trailing slash, and resolves ".."
/// against the component before it. In an absolute path ".." at the top stays at "/"; in a
/// relative path leading ".." components are kept. An empty path stays empty.
[[nodiscard]] std::string normalizePath(std::string_view path);

/// `folder` + "/" + `name`, with a single slash when `folder` already ends with one.
[[nodiscard]] std::string joinPath(std::string_view folder, std::string_view name);

/// The text after the last slash ("" for a path ending in a slash).
[[nodiscard]] std::string_view lastComponent(std::string_view path);

/// The bytes after the last dot of a file name: "gz" for "a.tar.gz"; "" for a name without a
/// dot, or whose only dot leads it (".bashrc" is a name, not an extension).
[[nodiscard]] std::string_view nameExtension(std::string_view name);

/// The file name without its extension and the dot before it: "a.b" for "a.b.plist"; a name
/// without an extension stays whole.
[[nodiscard]] std::string_view nameWithoutExtension(std::string_view name);

/// Everything before the last slash; "/" for a child of the root, "" when there is no slash.
[[nodiscard]] std::string_view parentPath(std::string_view path);

/// Whether `path` is `folder` itself or lies beneath it.
[[nodiscard]] bool isSameOrInside(std::string_view path, std::string_view folder);

/// The path as matched against exclusions, filters and exports: with the data-volume prefix
/// dropped ("/" for the prefix itself). The home folder is kept written out. The result
/// points into `path` (or is the literal "/").
[[nodiscard]] std::string_view matchingPath(std::string_view path, std::string_view dataVolume);

} // namespace dorvale
