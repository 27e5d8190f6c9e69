#pragma once

#include "platform/Descriptor.hpp"
#include "platform/Result.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The file-system changes and reads the program makes, each returning its first error as a
// value. Paths are raw bytes.
namespace dorvale {

/// Opens the folder at the absolute `path` as a bare path (O_PATH), one component after the
/// other from "/", following no symbolic link on the way: what the descriptor refers to is
/// then what the path says, whatever is renamed or swapped for a link afterwards. A link
/// among the components gives ELOOP with an explaining detail; `operation` names the
/// operation in the error.
[[nodiscard]] Result<Descriptor> openFolderWithoutLinks(std::string_view path,
                                                        FileOperation operation);

/// Deletes `path` outright: a folder with everything in it. Its parent is opened by
/// `openFolderWithoutLinks`, so a path through a link is refused; see `removeEntryForGood`.
[[nodiscard]] Result<void> removeForGood(std::string_view path);

/// Deletes the entry `name` of the folder `parentFd` outright; `path` is its full path, for
/// errors and for finding its Trash description. Works relative to open folder descriptors
/// and never follows a symbolic link, so a link (at the top or anywhere inside) is removed as
/// a link and its target is left alone. When one entry cannot be removed the rest are still
/// removed; the first error is returned. When the item lies directly in a Trash "files"
/// folder, its ".trashinfo" is removed as well.
[[nodiscard]] Result<void> removeEntryForGood(int parentFd, const std::string& name,
                                              const std::string& path);

/// Renames `from` to `to` without ever replacing what stands at `to` (EEXIST then).
/// Never copies: a move across file systems fails with EXDEV.
[[nodiscard]] Result<void> moveWithoutReplacing(std::string_view from, std::string_view to);
/// The same, for `from` in the folder `fromFolderFd` and `to` in `toFolderFd` (AT_FDCWD for
/// the working directory); errors name `shownPath`.
[[nodiscard]] Result<void> moveWithoutReplacing(int fromFolderFd, const std::string& from,
                                                int toFolderFd, const std::string& to,
                                                const std::string& shownPath);

/// Creates the folder and every missing parent with default permissions. A folder that
/// already exists is fine; something other than a folder in the way is an error.
[[nodiscard]] Result<void> createFolderChain(std::string_view path);

/// Replaces the file at `path` with `contents` atomically: a temporary file in the same
/// folder is written, flushed to disk and renamed over the old one, so a reader sees either
/// the old contents or the new ones, never a mixture.
[[nodiscard]] Result<void> writeFileAtomically(std::string_view path, std::string_view contents);

/// Renames `path` to the first free name of `path` + `suffix`, then `path` + `suffix` + ".2",
/// ".3" and so on, never replacing an earlier copy; returns the name it took.
[[nodiscard]] Result<std::string> setAside(std::string_view path, std::string_view suffix);

/// Whether a reader follows a symbolic link that is the last component of its path. Links
/// on the way to it are followed either way.
enum class FinalLink { Follow, Refuse };

/// The most `readFile` reads unless told otherwise.
inline constexpr std::size_t defaultReadLimit = 64 * 1024 * 1024;

/// Opens the regular file at `path` for reading. The open never waits (a FIFO would wait for
/// a writer, a device for whatever it serves) and the descriptor closes on exec. What turns
/// out not to be a regular file is closed again: a folder gives EISDIR, anything else
/// EINVAL; a refused final link gives ELOOP.
[[nodiscard]] Result<Descriptor> openRegularFile(std::string_view path,
                                                 FinalLink finalLink = FinalLink::Follow);

/// The whole contents of the regular file at `path`, opened by `openRegularFile`. A file
/// longer than `limit` bytes (or one that grows past it while read) gives EFBIG.
[[nodiscard]] Result<std::string> readFile(std::string_view path,
                                           std::size_t limit = defaultReadLimit,
                                           FinalLink finalLink = FinalLink::Follow);

/// `path` with every symbolic link, "." and ".." resolved, or nothing when some part of it
/// cannot be resolved (it is missing, or a folder on the way may not be searched).
[[nodiscard]] std::optional<std::string> realPath(const std::string& path);

/// What one look at a path, following symbolic links, tells of it.
enum class Presence {
    Present,
    /// Certainly not there: the path, a folder on its way or the target of a link is missing.
    Missing,
    /// Unknown: the look failed otherwise, as when a folder on the way may not be searched.
    Unknown,
};

[[nodiscard]] Presence presenceOf(const std::string& path);

} // namespace dorvale
