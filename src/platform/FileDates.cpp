#include "platform/FileDates.hpp"

#include <sys/stat.h>

namespace dorvale {

std::optional<Timestamp> contentAccessDate(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<Timestamp>(info.st_atim.tv_sec);
}

std::optional<Timestamp> contentModificationDate(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<Timestamp>(info.st_mtim.tv_sec);
}

} // namespace dorvale
