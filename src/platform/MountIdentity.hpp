#pragma once

#include "platform/FileError.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace dorvale {

/// Which mount a file-system entry belongs to, and whether it is the top of that mount. A
/// bind mount of a folder of the same file system has the same device number as its
/// surroundings, so only the mount tells it apart.
struct MountIdentity {
    /// The kernel's number of the mount; on a kernel that does not number mounts, the device.
    std::uint64_t mount = 0;
    bool isMountRoot = false;
    /// The entry's type bits (S_IFMT).
    unsigned type = 0;
    /// The bytes the entry itself occupies on disk.
    std::int64_t allocated = 0;
};

/// The identity of the entry `name` in the folder open as `folderFd`, not following a final
/// link and triggering no automount; of that folder itself when `name` is empty. Nothing when
/// the look fails, with errno set.
[[nodiscard]] std::optional<MountIdentity> mountIdentityAt(int folderFd, const std::string& name);

/// The error for an item refused because something beneath it is the top of another mount
/// (EXDEV with a sentence).
[[nodiscard]] FileError holdsMountError(FileOperation operation, const std::string& path);

} // namespace dorvale
