#pragma once

#include <optional>
#include <string>
#include <vector>

// Listing one folder level. Blocks on the disk: call it on a worker.
namespace dorvale {

struct FolderEntry {
    std::string name{};
    /// A real folder; a symbolic link is never one, whatever it points to.
    bool isFolder = false;
};

/// The entries of `path` without "." and "..", in the order the file system gives them, or
/// nothing when the folder cannot be opened or its reading fails part-way (a partial
/// listing would look like a folder with fewer items).
[[nodiscard]] std::optional<std::vector<FolderEntry>> listFolderEntries(const std::string& path);

/// `listFolderEntries` of the folder open at `folderFd`, from its first entry; the descriptor
/// stays open and the caller's. On failure errno tells why.
[[nodiscard]] std::optional<std::vector<FolderEntry>> listFolderEntries(int folderFd);

/// The names of `listFolderEntries`.
[[nodiscard]] std::optional<std::vector<std::string>> listFolder(const std::string& path);

/// The names of `listFolder` sorted by their bytes, so that what is built from them does not
/// depend on the file system's order; none when the folder cannot be listed whole.
[[nodiscard]] std::vector<std::string> sortedFolderNames(const std::string& path);

} // namespace dorvale
