#pragma once

#include "platform/Descriptor.hpp"

#include <string>

namespace dorvale {

/// An advisory lock (`flock`) held while the object lives. Every open has a lock of its own,
/// so two holders in one process exclude each other as two processes do, and the system lets
/// go of a lock when its process ends, however it ends: a lock file left by a process that
/// died locks nothing.
class FileLock {
public:
    /// Waits until the lock on the folder at `path` is this one's: the stores lock the folder
    /// of their file, which outlives every rewrite of the file itself. When the folder cannot
    /// be opened nothing is held and the caller goes on unlocked, as every other writer must.
    [[nodiscard]] static FileLock onFolder(const std::string& path);
    /// The lock on the file at `path` (created when missing) when no one else holds it; else,
    /// or when the file cannot be opened, nothing is held.
    [[nodiscard]] static FileLock tryOnFile(const std::string& path);

    [[nodiscard]] bool held() const { return m_fd.valid(); }
    /// Whether nothing is held because another holder has the lock (rather than because the
    /// file could not be opened).
    [[nodiscard]] bool heldElsewhere() const { return m_heldElsewhere; }

private:
    FileLock(Descriptor fd, bool heldElsewhere)
        : m_fd(std::move(fd))
        , m_heldElsewhere(heldElsewhere) {}

    static FileLock take(Descriptor fd, int operation);

    Descriptor m_fd;
    bool m_heldElsewhere = false;
};

} // namespace dorvale
