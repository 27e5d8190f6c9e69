#include "platform/FileStamp.hpp"

#include <sys/stat.h>

namespace dorvale {

std::optional<FileStamp> FileStamp::of(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{.device = info.st_dev,
                     .inode = info.st_ino,
                     .size = info.st_size,
                     .modifiedSeconds = info.st_mtim.tv_sec,
                     .modifiedNanoseconds = info.st_mtim.tv_nsec};
}

} // namespace dorvale
