#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// Every root folder the program reads or writes. The real set is made once at start with
/// `fromEnvironment`; tests build one that points into a fixture folder. Engines take it as a
/// parameter and never read a global root themselves. All paths are absolute and normalised
/// (no trailing slash, except for "/" itself).
struct Locations {
    /// The user's home folder.
    std::string home;
    /// Where the data volume is mounted; a whole-disk scan starts here, and paths beneath it
    /// are matched and shown without this prefix. "/" means there is no prefix to drop.
    std::string dataVolume = "/";
    /// Prefix for absolute system locations such as "/Library/Logs" or "/Applications";
    /// empty means the real root.
    std::string systemRoot;
    /// The user's data folder ($XDG_DATA_HOME).
    std::string dataHome;
    /// The user's configuration folder ($XDG_CONFIG_HOME).
    std::string configHome;
    /// The system's configuration folders ($XDG_CONFIG_DIRS), most important first; empty
    /// means the default "/etc/xdg" beneath the system root.
    std::vector<std::string> configDirs{};

    /// The real locations of this process: the home folder from $HOME when it is absolute,
    /// otherwise from the password database; the XDG folders from their variables when
    /// those are absolute, otherwise their defaults beneath the home folder.
    [[nodiscard]] static Locations fromEnvironment();

    /// Locations rooted in `root`: home is `root` + `homeRelative`, the data volume and the
    /// system root are `root`, and the XDG folders lie beneath the home folder.
    [[nodiscard]] static Locations inside(std::string_view root,
                                          std::string_view homeRelative = "/Users/a");

    /// The same folders as paths in matching form see them (`matchingPath`): each without
    /// the data-volume prefix, and the data volume itself "/". Compare matching paths with
    /// these, never with the real folders.
    [[nodiscard]] Locations matchingForm() const;

    /// `absolute` (such as "/Library/Logs") beneath the system root.
    [[nodiscard]] std::string systemPath(std::string_view absolute) const;
    /// `relative` (such as "Library/Caches") beneath the home folder.
    [[nodiscard]] std::string homePath(std::string_view relative) const;

    /// The program's own data folder, where the deletion history lives.
    [[nodiscard]] std::string applicationSupport() const;
    /// The folder of the settings file.
    [[nodiscard]] std::string settingsFolder() const;
    /// The home Trash, holding the "files" and "info" folders.
    [[nodiscard]] std::string homeTrash() const;
    /// The user's Trash folder as the user sees it: the home Trash's "files" folder.
    [[nodiscard]] std::string trashFolder() const;
    /// The folder of login autostart entries.
    [[nodiscard]] std::string autostartFolder() const;
    /// The system's folders of login autostart entries, most important first.
    [[nodiscard]] std::vector<std::string> systemAutostartFolders() const;
    /// The folder of the user's service units, whose "*.wants" folders say which are enabled.
    [[nodiscard]] std::string userUnitFolder() const;
    /// The three launch folders: the user's agents, the system's agents, the system's daemons.
    [[nodiscard]] std::vector<std::string> launchFolders() const;
};

} // namespace dorvale
