#include "support/FixtureTree.hpp"

#include "platform/Descriptor.hpp"
#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace dorvale::test {

namespace {

[[noreturn]] void fail(std::string_view what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " " + path + ": " + std::strerror(errno));
}

void check(bool ok, std::string_view what, const std::string& path) {
    if (!ok) {
        fail(what, path);
    }
}

// Makes every folder beneath `path` enterable and writable again, so removal cannot fail.
void unlockTree(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return;
    }
    chmod(path.c_str(), 0700);
    for (const std::string& name : sortedFolderNames(path)) {
        unlockTree(joinPath(path, name));
    }
}

} // namespace

FixtureTree::FixtureTree() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        joinPath(base != nullptr && base[0] == '/' ? base : "/tmp", "dorvale-test-XXXXXX");
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp", pattern);
    m_root = pattern;
    check(chmod(m_root.c_str(), 0755) == 0, "chmod", m_root);
}

FixtureTree::~FixtureTree() {
    unlockTree(m_root);
    // Whatever cannot be removed stays behind in the temporary folder; a destructor has no
    // one to tell.
    (void)removeForGood(m_root);
}

std::string FixtureTree::path(std::string_view relative) const {
    return relative.empty() ? m_root : joinPath(m_root, relative);
}

std::string FixtureTree::createParents(std::string_view relative) {
    const std::string_view parent = parentPath(relative);
    if (!parent.empty() && parent != "/") {
        folder(parent);
    }
    return path(relative);
}

std::string FixtureTree::folder(std::string_view relative) {
    const std::string full = createParents(relative);
    check(mkdir(full.c_str(), 0755) == 0 || errno == EEXIST, "mkdir", full);
    return full;
}

std::string FixtureTree::file(std::string_view relative, std::string_view contents) {
    const std::string full = createParents(relative);
    Descriptor fd(open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    check(fd.valid(), "open", full);
    errno = writeAll(fd.get(), contents);
    check(errno == 0, "write", full);
    check(fd.close(), "close", full);
    return full;
}

std::string FixtureTree::allocatedFile(std::string_view relative, std::int64_t bytes) {
    const std::string full = file(relative);
    const Descriptor fd(open(full.c_str(), O_WRONLY | O_CLOEXEC));
    check(fd.valid(), "open", full);
    errno = bytes > 0 ? posix_fallocate(fd.get(), 0, bytes) : 0;
    check(errno == 0, "fallocate", full);
    return full;
}

std::string FixtureTree::sparseFile(std::string_view relative, std::int64_t length) {
    const std::string full = file(relative);
    check(truncate(full.c_str(), length) == 0, "truncate", full);
    return full;
}

std::string FixtureTree::fifo(std::string_view relative) {
    const std::string full = createParents(relative);
    check(mkfifo(full.c_str(), 0644) == 0, "mkfifo", full);
    return full;
}

std::string FixtureTree::hardLink(std::string_view existing, std::string_view relative) {
    const std::string full = createParents(relative);
    check(link(path(existing).c_str(), full.c_str()) == 0, "link", full);
    return full;
}

std::string FixtureTree::symlink(std::string_view target, std::string_view relative) {
    const std::string full = createParents(relative);
    check(::symlink(std::string(target).c_str(), full.c_str()) == 0, "symlink", full);
    return full;
}

void FixtureTree::setTimes(std::string_view relative, double modified, double accessed) {
    const auto toSpec = [](double seconds) {
        timespec spec{};
        spec.tv_sec = static_cast<time_t>(seconds);
        spec.tv_nsec = static_cast<long>((seconds - static_cast<double>(spec.tv_sec)) * 1e9);
        return spec;
    };
    const timespec times[2] = {toSpec(accessed), toSpec(modified)};
    const std::string full = path(relative);
    check(utimensat(AT_FDCWD, full.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0, "utimensat", full);
}

void FixtureTree::setMode(std::string_view relative, mode_t mode) {
    const std::string full = path(relative);
    check(chmod(full.c_str(), mode) == 0, "chmod", full);
}

void FixtureTree::setOwner(std::string_view relative, uid_t uid, gid_t gid) {
    const std::string full = path(relative);
    check(lchown(full.c_str(), uid, gid) == 0, "lchown", full);
}

} // namespace dorvale::test
