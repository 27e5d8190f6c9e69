#include "platform/Descriptor.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace dorvale {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

Descriptor::~Descriptor() {
    close();
}

bool Descriptor::close() {
    if (m_fd < 0) {
        return true;
    }
    // The descriptor is gone after close, even an interrupted one: never close it twice.
    return ::close(std::exchange(m_fd, -1)) == 0;
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int readAll(int fd, std::size_t limit, std::string& into) {
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return 0;
        }
        const auto got = static_cast<std::size_t>(count);
        const std::size_t room = limit - std::min(limit, into.size());
        into.append(buffer, std::min(got, room));
        if (got > room) {
            return EFBIG;
        }
    }
}

} // namespace dorvale
