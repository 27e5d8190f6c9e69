#include "platform/MountIdentity.hpp"

#include "platform/Tr.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace dorvale {

std::optional<MountIdentity> mountIdentityAt(int folderFd, const std::string& name) {
    struct statx info {};
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (name.empty() ? AT_EMPTY_PATH : 0);
    if (statx(folderFd, name.c_str(), flags, STATX_TYPE | STATX_BLOCKS | STATX_MNT_ID, &info) !=
        0) {
        return std::nullopt;
    }
    const bool numbered = (info.stx_mask & STATX_MNT_ID) != 0;
    const std::uint64_t device =
        (static_cast<std::uint64_t>(info.stx_dev_major) << 32) | info.stx_dev_minor;
    return MountIdentity{.mount = numbered ? info.stx_mnt_id : device,
                         .isMountRoot = (info.stx_attributes_mask & info.stx_attributes &
                                         STATX_ATTR_MOUNT_ROOT) != 0,
                         .type = static_cast<unsigned>(info.stx_mode & S_IFMT),
                         .allocated = static_cast<std::int64_t>(info.stx_blocks) * 512};
}

FileError holdsMountError(FileOperation operation, const std::string& path) {
    return FileError{.code = EXDEV,
                     .operation = operation,
                     .path = path,
                     .detail =
                         std::string(tr("Contains another mounted disk, so it was left alone."))};
}

} // namespace dorvale
