#include "support/FileChecks.hpp"

#include "platform/FileOperations.hpp"

#include <sys/stat.h>

#include <optional>

namespace dorvale::test {

namespace {

std::optional<struct stat> status(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

} // namespace

bool exists(const std::string& path) {
    return status(path).has_value();
}

bool isLink(const std::string& path) {
    const auto info = status(path);
    return info && S_ISLNK(info->st_mode);
}

mode_t modeOf(const std::string& path) {
    const auto info = status(path);
    return info ? info->st_mode : 0;
}

std::int64_t allocated(const std::string& path) {
    const auto info = status(path);
    return info ? static_cast<std::int64_t>(info->st_blocks) * 512 : -1;
}

std::string contentsOf(const std::string& path) {
    Result<std::string> contents = readFile(path);
    return contents.ok() ? std::move(contents).value() : "<unreadable>";
}

} // namespace dorvale::test
