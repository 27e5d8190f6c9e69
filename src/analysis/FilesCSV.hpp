#pragma once

#include "model/FileNode.hpp"
#include "platform/FileDialogs.hpp"

#include <QString>

#include <span>
#include <string_view>

class QIODevice;

namespace dorvale {

/// The export of a list of file nodes as comma-separated text, placed by the user.
class FilesCSV {
public:
    /// Asks where to save, suggesting `baseName` + ".csv", and writes `nodes` there in their
    /// order, replacing what stood there whole. A cancelled dialog writes nothing; a failed
    /// write leaves the old file (or none) and no temporary file behind. Shows the wait cursor
    /// while it writes.
    static void write(FileDialogs& dialogs, std::span<const FileNode* const> nodes,
                      const QString& baseName, std::string_view dataVolume);
};

/// Writes `nodes` to `device` as UTF-8 CSV: a header line, then one line per node of its
/// path (without the `dataVolume` prefix), name, bytes on disk, bytes, kind, category and
/// modification date (ISO 8601, UTC), every field quoted, every line ending in a line feed.
/// Bytes that are not UTF-8 are written as U+FFFD. Written in pieces, never as one string.
/// Returns whether every piece was written.
[[nodiscard]] bool writeCsv(std::span<const FileNode* const> nodes, std::string_view dataVolume,
                            QIODevice& device);

} // namespace dorvale
