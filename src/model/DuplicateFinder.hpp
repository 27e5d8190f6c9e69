#pragma once

#include "model/DuplicateCandidate.hpp"
#include "model/DuplicateGroup.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

/// Finds files with identical content among the files of a scan, narrowing them down by
/// length, then by the SHA-256 of their first 64 KiB, then by the SHA-256 of their whole
/// content, read again from the first byte. Only files that share a length with another
/// candidate are opened, and only those that also share their first 64 KiB are read to the
/// end. Two candidates that are one file (the same device and inode: hard links) count once.
///
/// Threads: `snapshot` reads nodes' figures and so runs on the thread that owns the tree (the
/// GUI thread). `addPaths` reads only names and parents, which never change once a tree is
/// built, and may run on any thread that keeps the tree alive. `find` and `sha256Hex` touch no
/// node and may run on any thread; `find` reports
/// progress synchronously, on the threads it reads files on. The groups it returns name the nodes
/// of the snapshot; the owner of the tree publishes them only if that tree is still the current
/// one, and only on its own thread, since the nodes may have been released in the meantime.
namespace dorvale::DuplicateFinder {

/// Receives the fraction of the search done, 0 to 1.
using Progress = std::function<void(double fraction)>;

/// Bytes from the start of a file that make up its partial key.
inline constexpr std::int64_t partialKeyBytes = 65'536;
/// The most read from a file in one call; the only buffer a search holds.
inline constexpr std::int64_t readChunkBytes = 1'048'576;
/// Progress is reported once per this many size groups begun.
inline constexpr std::size_t sizeGroupsPerReport = 20;

/// Copies what `find` needs out of the scan's file nodes, keeping their order, but only of the
/// files that can have a copy: not deleted, at least `minimumSize` bytes long and sharing that
/// length with another such file. Paths are left empty for `addPaths`, so the copy stays cheap
/// on the thread that owns the tree.
[[nodiscard]] std::vector<DuplicateCandidate> snapshot(std::span<const FileNode* const> files,
                                                       std::int64_t minimumSize);

/// Fills in each candidate's path from its node.
void addPaths(std::span<DuplicateCandidate> candidates);

/// The groups of identical files among the candidates that are not deleted, are at least
/// `minimumSize` bytes long and lie inside neither an application bundle nor a photo library,
/// largest reclaimable space first. A file that cannot be read completely, that no longer has
/// the length it had in the scan, or that changes while it is read joins no group; of several
/// names of one file only the first in scan order does. Never fails; `progress` may be empty.
///
/// Files are read on `threads` threads at once; 0 chooses as many as the disk of the files
/// reads well at once (`workerThreadsFor`). The groups are the same whatever the number.
/// `progress` is then called on any of them, though never on two at once, and never with a
/// fraction below an earlier one.
[[nodiscard]] std::vector<DuplicateGroup> find(std::span<const DuplicateCandidate> candidates,
                                               std::int64_t minimumSize, const Progress& progress,
                                               std::size_t threads = 0);

/// The SHA-256 of the first `limit` bytes of the file at `path` (of the whole file without a
/// limit), as 64 lower-case hexadecimal digits. None when the path is not a regular file that
/// can be opened, when a read fails, when the file turns out shorter or (read without a
/// limit) longer than it was when it was opened, or when its length, modification or change
/// time at the end of the reading differ from those at its start: a digest always covers
/// exactly the bytes it claims to, as the file held them throughout.
[[nodiscard]] std::optional<std::string> sha256Hex(const std::string& path,
                                                   std::optional<std::int64_t> limit = {});

} // namespace dorvale::DuplicateFinder
