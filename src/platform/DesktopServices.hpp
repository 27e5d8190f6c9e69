#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// What only the desktop session can do: open files and folders in their applications and
/// show items in the file manager. The implementation lives with the user interface
/// (`QtDesktopServices`); code without one gets `DesktopServices::none()`. Calls return
/// at once, without waiting for the desktop, and are made on the GUI thread.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    /// Opens a file or folder (raw path bytes) with its default application.
    virtual void open(const std::string& path) = 0;
    /// Shows the items selected in the file manager.
    virtual void reveal(const std::vector<std::string>& paths) = 0;

    /// Services that do nothing, for programs and tests without a desktop.
    [[nodiscard]] static DesktopServices& none();
};

/// A "file://" URI for a path, every byte other than unreserved ones and "/" written as
/// %XX, so a name that is not valid UTF-8 reaches the desktop unchanged.
[[nodiscard]] std::string fileUri(std::string_view path);

} // namespace dorvale
