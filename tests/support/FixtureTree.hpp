#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvale::test {

/// A temporary folder in which a test builds the files it needs; removed with everything in
/// it when the fixture goes away, whatever permissions the test left behind. Relative paths
/// are raw bytes and may hold spaces, newlines or invalid UTF-8. The root is world-readable
/// so that a child running as an unprivileged user can reach it. Failures throw.
class FixtureTree {
public:
    FixtureTree();
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    [[nodiscard]] const std::string& root() const { return m_root; }
    /// The absolute path of `relative` inside the fixture.
    [[nodiscard]] std::string path(std::string_view relative) const;

    /// Creates the folder and any missing parents; returns its absolute path.
    std::string folder(std::string_view relative);
    /// Writes a file with exactly these bytes.
    std::string file(std::string_view relative, std::string_view contents = {});
    /// A file of `bytes` length, all of it allocated on disk.
    std::string allocatedFile(std::string_view relative, std::int64_t bytes);
    /// A file of `length` bytes with nothing allocated.
    std::string sparseFile(std::string_view relative, std::int64_t length);
    /// A FIFO (named pipe), which blocks whoever opens it for reading until a writer comes.
    std::string fifo(std::string_view relative);
    std::string hardLink(std::string_view existing, std::string_view relative);
    std::string symlink(std::string_view target, std::string_view relative);

    /// Sets modification and access times (seconds since 1970) without following links.
    void setTimes(std::string_view relative, double modified, double accessed);
    void setMode(std::string_view relative, mode_t mode);
    void setOwner(std::string_view relative, uid_t uid, gid_t gid);

private:
    std::string createParents(std::string_view relative);

    std::string m_root;
};

} // namespace dorvale::test
