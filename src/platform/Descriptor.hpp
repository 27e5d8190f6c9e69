#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace dorvale {

/// Owns one open file descriptor and closes it when it goes; it moves, never copies. A
/// descriptor of -1 owns nothing. Errors of the closing are dropped; call `close` where they
/// matter (after writing).
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    /// Closes now and says whether the close succeeded: after a write, a failed close can
    /// mean the data never reached the disk.
    bool close();

private:
    int m_fd = -1;
};

/// Writes all of `bytes` to `fd`, going on after short writes and interruptions. Gives 0,
/// or the errno value of the write that failed (EIO for a write that took nothing).
[[nodiscard]] int writeAll(int fd, std::string_view bytes);

/// Reads `fd` to its end onto `into`, going on after interruptions. Gives 0, the errno value
/// of the read that failed, or EFBIG once `into` would grow past `limit` bytes; what was read
/// until then stays in `into` (at most `limit` bytes).
[[nodiscard]] int readAll(int fd, std::size_t limit, std::string& into);

} // namespace dorvale
