#pragma once

#include <optional>
#include <string>

namespace dorvale {

/// The desktop's dialogs for choosing where to read or write. Each call is modal, runs on
/// the GUI thread, and returns the chosen path as raw bytes, or nothing when the user
/// cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    /// Lets the user pick an existing folder; `title` says what the folder is for and
    /// `acceptLabel` names the accepting button. A chosen symbolic link is resolved to its
    /// folder, since a link as a scan root would scan nothing.
    [[nodiscard]] virtual std::optional<std::string>
    chooseFolder(const std::string& title, const std::string& acceptLabel) = 0;
    /// Lets the user pick where to save a CSV file, starting from `suggestedName` (a base
    /// name without extension); the path returned ends in ".csv".
    [[nodiscard]] virtual std::optional<std::string>
    chooseSaveFile(const std::string& suggestedName) = 0;
};

} // namespace dorvale
