#include "platform/VolumeInfo.hpp"

#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <limits>
#include <sstream>

namespace dorvale {

namespace {

std::int64_t bytes(std::uint64_t blocks, std::uint64_t blockSize) {
    constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (blockSize != 0 && blocks > largest / blockSize) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(blocks * blockSize);
}

int octalDigit(char c) {
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The mount table writes a space in a path as "\040", a tab as "\011" and so on.
std::string unescapeMountField(std::string_view field) {
    std::string result;
    for (std::size_t index = 0; index < field.size(); ++index) {
        if (field[index] == '\\' && index + 3 < field.size() && octalDigit(field[index + 1]) >= 0 &&
            octalDigit(field[index + 2]) >= 0 && octalDigit(field[index + 3]) >= 0) {
            result +=
                static_cast<char>(octalDigit(field[index + 1]) * 64 +
                                  octalDigit(field[index + 2]) * 8 + octalDigit(field[index + 3]));
            index += 3;
        } else {
            result += field[index];
        }
    }
    return result;
}

// The source device of the first mount of `device` in the mount table, or "".
std::string mountSource(const std::string& mountTable, dev_t device) {
    const Result<std::string> contents = readFile(mountTable);
    if (!contents.ok()) {
        return {};
    }
    std::istringstream table(contents.value());
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string mountId;
        std::string parentId;
        std::string numbers;
        fields >> mountId >> parentId >> numbers;
        if (numbers != wanted) {
            continue;
        }
        // Optional fields end at a lone "-"; the file-system type and the source follow.
        std::string field;
        while (fields >> field && field != "-") {
        }
        std::string type;
        std::string source;
        fields >> type >> source;
        return unescapeMountField(source);
    }
    return {};
}

struct DeviceIdentity {
    std::optional<std::string> canonicalSource;
    // The device number of the source, when it is a block device; else of the file system.
    dev_t device = 0;
};

bool matches(const std::string& labelLink, const DeviceIdentity& identity) {
    const std::optional<std::string> target = realPath(labelLink);
    if (target && target == identity.canonicalSource) {
        return true;
    }
    struct stat info {};
    return ::stat(labelLink.c_str(), &info) == 0 && S_ISBLK(info.st_mode) &&
           info.st_rdev == identity.device;
}

DeviceIdentity identify(const VolumeNameSources& sources, dev_t device) {
    DeviceIdentity identity{{}, device};
    const std::string source = mountSource(sources.mountTable, device);
    if (source.empty() || source.front() != '/') {
        return identity;
    }
    identity.canonicalSource = realPath(source);
    // File systems such as btrfs report an anonymous device number; their source device
    // has the real one.
    struct stat info {};
    if (::stat(source.c_str(), &info) == 0 && S_ISBLK(info.st_mode)) {
        identity.device = info.st_rdev;
    }
    return identity;
}

std::optional<std::string> labelOf(const VolumeNameSources& sources, dev_t device) {
    const std::optional<std::vector<std::string>> names = listFolder(sources.labelFolder);
    if (!names) {
        return std::nullopt;
    }
    const DeviceIdentity identity = identify(sources, device);
    for (const std::string& name : *names) {
        if (matches(joinPath(sources.labelFolder, name), identity)) {
            return unescapeLabel(name);
        }
    }
    return std::nullopt;
}

} // namespace

std::string unescapeLabel(std::string_view escaped) {
    std::string result;
    for (std::size_t index = 0; index < escaped.size(); ++index) {
        if (escaped.substr(index, 2) == "\\x" && index + 3 < escaped.size() &&
            hexDigitValue(escaped[index + 2]) >= 0 && hexDigitValue(escaped[index + 3]) >= 0) {
            result += static_cast<char>(hexDigitValue(escaped[index + 2]) * 16 +
                                        hexDigitValue(escaped[index + 3]));
            index += 3;
        } else {
            result += escaped[index];
        }
    }
    return result;
}

std::optional<VolumeInfo> VolumeInfo::read(const std::string& path,
                                           const VolumeNameSources& sources) {
    struct statvfs capacities {};
    struct stat info {};
    if (path.empty() || ::statvfs(path.c_str(), &capacities) != 0 ||
        ::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    VolumeInfo volume;
    volume.total = bytes(capacities.f_blocks, capacities.f_frsize);
    volume.available = bytes(capacities.f_bavail, capacities.f_frsize);
    volume.availableForImportantUsage = volume.available;
    const std::optional<std::string> label = labelOf(sources, info.st_dev);
    volume.name = label && !label->empty() ? *label : std::string(tr("Computer"));
    return volume;
}

} // namespace dorvale
