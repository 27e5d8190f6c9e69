#pragma once

#include "platform/DesktopServices.hpp"
#include "platform/Locations.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// The system's view of applications, and the desktop's open and reveal. Engines take a
/// `Workspace&` so that tests can hand them `FakeWorkspace`.
///
/// Threads: `runningBundleIdentifiers` and `applicationPath` read the disk (the process
/// table, application folders and Info.plist files) and block while they do; call them on
/// a worker. `open` and `reveal` return at once and are called on the GUI thread.
class Workspace {
public:
    virtual ~Workspace() = default;

    /// The bundle identifiers of the running applications, in process order, each once.
    [[nodiscard]] virtual std::vector<std::string> runningBundleIdentifiers() const = 0;
    /// The path of an application bundle with this identifier, or nothing.
    [[nodiscard]] virtual std::optional<std::string>
    applicationPath(std::string_view bundleIdentifier) const = 0;
    /// Opens a file or folder with its default application.
    virtual void open(const std::string& path) = 0;
    /// Shows the items in the file manager.
    virtual void reveal(const std::vector<std::string>& paths) = 0;
};

/// The workspace of this system.
///
/// Running applications: every process of /proc whose program (/proc/<pid>/exe) lies in a
/// folder "<bundle>.app/Contents/MacOS/"; the identifier is that bundle's. Processes of
/// other users, whose program link this user may not read, are not seen.
///
/// Applications by identifier: the bundles of `applicationBundlePaths`, in that order; the
/// first whose identifier matches wins. Identifiers are compared without regard to ASCII
/// case, as bundle identifiers are meant to be, so data named in another case still finds
/// its application. Nothing is cached: every call reads the folders and bundles again.
///
/// Open and reveal are handed to the desktop services given at construction.
class SystemWorkspace final : public Workspace {
public:
    explicit SystemWorkspace(Locations locations,
                             DesktopServices& desktop = DesktopServices::none(),
                             std::string processFolder = "/proc");

    /// The application bundles in, in this order, `systemPath("/Applications")`,
    /// `homePath("Applications")` and `systemPath("/Applications/Utilities")`: every item
    /// named "*.app" in each folder, and those one folder further down (not counting a
    /// subfolder named "Utilities", which is listed as the third folder). Symbolic links
    /// to folders are not followed into. Each path once, first occurrence first.
    [[nodiscard]] static std::vector<std::string>
    applicationBundlePaths(const Locations& locations);

    [[nodiscard]] std::vector<std::string> runningBundleIdentifiers() const override;
    [[nodiscard]] std::optional<std::string>
    applicationPath(std::string_view bundleIdentifier) const override;
    void open(const std::string& path) override;
    void reveal(const std::vector<std::string>& paths) override;

private:
    Locations m_locations;
    DesktopServices& m_desktop;
    std::string m_processFolder;
};

} // namespace dorvale
