#include "platform/FileOperations.hpp"

#include "platform/Descriptor.hpp"
#include "platform/FolderListing.hpp"
#include "platform/MountIdentity.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"
#include "platform/Trash.hpp"
#include "platform/TreeSurvey.hpp"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

namespace dorvale {

namespace {

FileError errorFor(FileOperation operation, std::string_view path, int code = errno) {
    return FileError{.code = code, .operation = operation, .path = std::string(path)};
}

// Keeps the first error of a walk that goes on after failures.
class FirstError {
public:
    void note(FileError error) {
        if (!m_error) {
            m_error = std::move(error);
        }
    }
    [[nodiscard]] Result<void> result() const {
        return m_error ? Result<void>(*m_error) : Result<void>();
    }

private:
    std::optional<FileError> m_error;
};

void removeEntry(int parentFd, std::uint64_t parentMount, const std::string& name,
                 const std::string& path, FirstError& firstError);

void removeFolderContents(int folderFd, std::uint64_t mount, const std::string& path,
                          FirstError& firstError) {
    const auto entries = listFolderEntries(folderFd);
    if (!entries) {
        firstError.note(errorFor(FileOperation::Remove, path));
        return;
    }
    for (const FolderEntry& entry : *entries) {
        removeEntry(folderFd, mount, entry.name, joinPath(path, entry.name), firstError);
    }
}

void removeFolder(int parentFd, std::uint64_t mount, const std::string& name,
                  const std::string& path, FirstError& firstError) {
    {
        const Descriptor folder(
            openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!folder.valid()) {
            firstError.note(errorFor(FileOperation::Remove, path));
            return;
        }
        removeFolderContents(folder.get(), mount, path, firstError);
    }
    if (unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0) {
        firstError.note(errorFor(FileOperation::Remove, path));
    }
}

void removeEntry(int parentFd, std::uint64_t parentMount, const std::string& name,
                 const std::string& path, FirstError& firstError) {
    const auto entry = mountIdentityAt(parentFd, name);
    if (!entry) {
        firstError.note(errorFor(FileOperation::Remove, path));
        return;
    }
    if (entry->mount != parentMount || entry->isMountRoot) {
        // Checked before the removal began; this catches a mount made while it runs.
        // Descending would empty whatever is mounted here.
        firstError.note(holdsMountError(FileOperation::Remove, path));
    } else if (entry->type != S_IFDIR) {
        if (unlinkat(parentFd, name.c_str(), 0) != 0) {
            firstError.note(errorFor(FileOperation::Remove, path));
        }
    } else {
        removeFolder(parentFd, entry->mount, name, path, firstError);
    }
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes a completed rename durable; a failure here leaves the new file in place, so it is
// not reported.
void syncFolder(std::string_view folder) {
    const Descriptor fd(open(std::string(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        fsync(fd.get());
    }
}

} // namespace

Result<Descriptor> openFolderWithoutLinks(std::string_view path, FileOperation operation) {
    const std::string full = normalizePath(path);
    if (!full.starts_with('/')) {
        return errorFor(operation, path, EINVAL);
    }
    Descriptor folder(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::string_view rest = std::string_view(full).substr(1);
    while (folder.valid() && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string name(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        Descriptor next(
            openat(folder.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid()) {
            const int code = errno;
            struct stat info {};
            if (fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(info.st_mode)) {
                return FileError{.code = ELOOP,
                                 .operation = operation,
                                 .path = full,
                                 .detail = std::string(tr("A folder on the way to this item is a "
                                                          "symbolic link, so the item was left "
                                                          "alone."))};
            }
            return errorFor(operation, full, code);
        }
        folder = std::move(next);
    }
    if (!folder.valid()) {
        return errorFor(operation, full);
    }
    return folder;
}

Result<void> removeForGood(std::string_view path) {
    const std::string full = normalizePath(path);
    const std::string name(lastComponent(full));
    if (!full.starts_with('/') || name.empty()) {
        return errorFor(FileOperation::Remove, path, EINVAL);
    }
    // Unlinking needs only write and search permission on the parent, not read permission,
    // so the parent is opened as a bare path.
    Result<Descriptor> parent = openFolderWithoutLinks(parentPath(full), FileOperation::Remove);
    if (!parent.ok()) {
        return parent.error();
    }
    return removeEntryForGood(parent.value().get(), name, full);
}

Result<void> removeEntryForGood(int parentFd, const std::string& name, const std::string& path) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return errorFor(FileOperation::Remove, path, EINVAL);
    }
    const auto parent = mountIdentityAt(parentFd, "");
    if (!parent) {
        return errorFor(FileOperation::Remove, path);
    }
    // Removing a tree that holds a mount would empty what is mounted there and then fail on
    // the mount itself, so such an item is refused before anything is removed.
    if (surveyTree(parentFd, name).holdsMount) {
        return holdsMountError(FileOperation::Remove, path);
    }
    FirstError firstError;
    removeEntry(parentFd, parent->mount, name, path, firstError);
    Result<void> result = firstError.result();
    if (result.ok()) {
        // The item is gone; a stale description left behind would only show a broken entry
        // in the desktop's Trash, so failing to remove it is not an error of the removal.
        if (const auto info = Trash::infoFileFor(path)) {
            unlink(info->c_str());
        }
    }
    return result;
}

Result<void> moveWithoutReplacing(std::string_view from, std::string_view to) {
    const std::string source(from);
    return moveWithoutReplacing(AT_FDCWD, source, AT_FDCWD, std::string(to), source);
}

Result<void> moveWithoutReplacing(int fromFolderFd, const std::string& from, int toFolderFd,
                                  const std::string& to, const std::string& shownPath) {
    if (renameat2(fromFolderFd, from.c_str(), toFolderFd, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL) {
        return errorFor(FileOperation::Move, shownPath);
    }
    // Some file systems (older network and FUSE ones) do not know the no-replace flag.
    // Checking first leaves a short window in which another program could create the
    // target, which is the best such a file system allows.
    struct stat info {};
    if (fstatat(toFolderFd, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return errorFor(FileOperation::Move, shownPath, EEXIST);
    }
    if (renameat(fromFolderFd, from.c_str(), toFolderFd, to.c_str()) != 0) {
        return errorFor(FileOperation::Move, shownPath);
    }
    return {};
}

Result<void> createFolderChain(std::string_view path) {
    const std::string full = normalizePath(path);
    if (full.empty() || isFolder(full)) {
        return {};
    }
    const std::string parent(parentPath(full));
    if (!parent.empty() && parent != full) {
        if (Result<void> made = createFolderChain(parent); !made.ok()) {
            return made;
        }
    }
    if (mkdir(full.c_str(), 0777) != 0 && !(errno == EEXIST && isFolder(full))) {
        // Something other than a folder stands in the way.
        return errorFor(FileOperation::CreateFolder, full, errno == EEXIST ? ENOTDIR : errno);
    }
    return {};
}

Result<void> writeFileAtomically(std::string_view path, std::string_view contents) {
    const std::string target(path);
    std::string temporary = target + ".XXXXXX";
    Descriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        return errorFor(FileOperation::Write, target);
    }
    Result<void> written;
    if (const int code = writeAll(fd.get(), contents); code != 0) {
        written = errorFor(FileOperation::Write, target, code);
    }
    if (written.ok() && fsync(fd.get()) != 0) {
        written = errorFor(FileOperation::Write, target);
    }
    if (!fd.close() && written.ok()) {
        written = errorFor(FileOperation::Write, target);
    }
    if (written.ok() && rename(temporary.c_str(), target.c_str()) != 0) {
        written = errorFor(FileOperation::Write, target);
    }
    if (!written.ok()) {
        unlink(temporary.c_str());
        return written;
    }
    const std::string_view folder = parentPath(target);
    syncFolder(folder.empty() ? "." : folder);
    return {};
}

Result<std::string> setAside(std::string_view path, std::string_view suffix) {
    constexpr int attempts = 1000;
    const std::string base = std::string(path) + std::string(suffix);
    Result<void> moved = Result<void>();
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        std::string target = attempt == 1 ? base : base + "." + std::to_string(attempt);
        moved = moveWithoutReplacing(path, target);
        if (moved.ok()) {
            return target;
        }
        if (moved.error().code != EEXIST) {
            break;
        }
    }
    return moved.error();
}

Result<Descriptor> openRegularFile(std::string_view path, FinalLink finalLink) {
    const std::string source(path);
    const int noFollow = finalLink == FinalLink::Refuse ? O_NOFOLLOW : 0;
    int opened = -1;
    do {
        opened = open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | noFollow);
    } while (opened < 0 && errno == EINTR);
    Descriptor fd(opened);
    struct stat info {};
    if (!fd.valid() || fstat(fd.get(), &info) != 0) {
        return errorFor(FileOperation::Read, source);
    }
    if (!S_ISREG(info.st_mode)) {
        return errorFor(FileOperation::Read, source, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    return fd;
}

Result<std::string> readFile(std::string_view path, std::size_t limit, FinalLink finalLink) {
    Result<Descriptor> file = openRegularFile(path, finalLink);
    if (!file.ok()) {
        return file.error();
    }
    const int fd = file.value().get();
    // The size known up front spares reading a file that is plainly too long; the limit
    // still holds for one that grows while it is read.
    struct stat info {};
    if (fstat(fd, &info) == 0 && static_cast<std::uint64_t>(info.st_size) > limit) {
        return errorFor(FileOperation::Read, path, EFBIG);
    }
    std::string contents;
    if (const int code = readAll(fd, limit, contents); code != 0) {
        return errorFor(FileOperation::Read, path, code);
    }
    return contents;
}

Presence presenceOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        return Presence::Present;
    }
    return errno == ENOENT || errno == ENOTDIR ? Presence::Missing : Presence::Unknown;
}

std::optional<std::string> realPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

} // namespace dorvale
