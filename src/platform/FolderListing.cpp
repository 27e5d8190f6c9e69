#include "platform/FolderListing.hpp"

#include "platform/Paths.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

namespace dorvale {

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

bool isRealFolder(const std::string& folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_DIR;
    }
    struct stat info {};
    return lstat(joinPath(folder, entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::optional<std::vector<FolderEntry>> listFolderEntries(const std::string& path) {
    const std::unique_ptr<DIR, FolderCloser> folder(opendir(path.c_str()));
    if (!folder) {
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    for (;;) {
        // Only errno tells the end of the folder from a failed read.
        errno = 0;
        const dirent* entry = readdir(folder.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            entries.push_back({std::string(name), isRealFolder(path, *entry)});
        }
    }
    if (errno != 0) {
        return std::nullopt;
    }
    return entries;
}

std::optional<std::vector<std::string>> listFolder(const std::string& path) {
    auto entries = listFolderEntries(path);
    if (!entries) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    names.reserve(entries->size());
    for (FolderEntry& entry : *entries) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

} // namespace dorvale
