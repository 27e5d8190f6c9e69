#pragma once

#include <string>

namespace dorvale {

/// What the program was doing when a file operation failed.
enum class FileOperation {
    Read,
    Write,
    CreateFolder,
    MoveToTrash,
    Remove,
    Move,
    Restore,
};

/// A failed file operation: the errno value, the operation and the path it failed on.
/// `detail` holds a clearer sentence than the system's text for the few failures the
/// program diagnoses itself (an item on a volume without a usable Trash, an item in the
/// Trash that is not the one recorded); it is empty otherwise.
struct FileError {
    int code = 0;
    FileOperation operation = FileOperation::Read;
    std::string path{};
    std::string detail{};

    /// One sentence for the user: `detail` when set, otherwise the system's text for `code`.
    [[nodiscard]] std::string reason() const;
    /// The operation, the path and the reason in one line, for logs and diagnostics.
    [[nodiscard]] std::string description() const;

    bool operator==(const FileError&) const = default;
};

/// The system's text for an errno value.
[[nodiscard]] std::string systemErrorText(int code);

} // namespace dorvale
