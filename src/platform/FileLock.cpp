#include "platform/FileLock.hpp"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace dorvale {

FileLock FileLock::onFolder(const std::string& path) {
    return take(Descriptor(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), LOCK_EX);
}

FileLock FileLock::tryOnFile(const std::string& path) {
    return take(Descriptor(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)),
                LOCK_EX | LOCK_NB);
}

FileLock FileLock::take(Descriptor fd, int operation) {
    if (!fd.valid()) {
        return FileLock(Descriptor(), false);
    }
    int locked = 0;
    do {
        locked = flock(fd.get(), operation);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        return FileLock(Descriptor(), errno == EWOULDBLOCK);
    }
    return FileLock(std::move(fd), false);
}

} // namespace dorvale
