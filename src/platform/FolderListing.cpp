#include "platform/FolderListing.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace dorvale {

namespace {

bool isRealFolder(int folderFd, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_DIR;
    }
    struct stat info {};
    return fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

std::optional<std::vector<FolderEntry>> readEntries(DIR* folder) {
    std::vector<FolderEntry> entries;
    for (;;) {
        // Only errno tells the end of the folder from a failed read.
        errno = 0;
        const dirent* entry = readdir(folder);
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            entries.push_back({std::string(name), isRealFolder(dirfd(folder), *entry)});
        }
    }
    if (errno != 0) {
        return std::nullopt;
    }
    return entries;
}

// Lists the folder open at `fd`, taking the descriptor over; errno survives the closing.
std::optional<std::vector<FolderEntry>> listOwnedFolder(int fd) {
    DIR* folder = fd >= 0 ? fdopendir(fd) : nullptr;
    if (folder == nullptr) {
        const int failure = errno;
        if (fd >= 0) {
            close(fd);
        }
        errno = failure;
        return std::nullopt;
    }
    rewinddir(folder);
    std::optional<std::vector<FolderEntry>> entries = readEntries(folder);
    const int failure = errno;
    closedir(folder);
    errno = failure;
    return entries;
}

} // namespace

std::optional<std::vector<FolderEntry>> listFolderEntries(const std::string& path) {
    return listOwnedFolder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
}

std::optional<std::vector<FolderEntry>> listFolderEntries(int folderFd) {
    // A copy of the descriptor is read and closed, so the caller's stays open.
    return listOwnedFolder(fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
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

std::vector<std::string> sortedFolderNames(const std::string& path) {
    std::vector<std::string> names = listFolder(path).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace dorvale
