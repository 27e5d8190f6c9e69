#pragma once

#include "platform/Clock.hpp"
#include "platform/Locations.hpp"
#include "platform/Workspace.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One launch property list: a program the system starts by itself, at login or as a
/// background service. A plain value, identified by `path`.
///
/// Threads: `read` and `loadAll` read folders, files and application bundles and block
/// while they do; call them on a worker. The scope helpers and `openLoginItemsSettings`
/// return at once.
struct LaunchItem {
    /// The launch folder an item was found in. The raw value is the position.
    enum class Scope : std::uint8_t {
        /// The user's own agents, started at the user's login.
        UserAgent,
        /// Agents installed for every user.
        SystemAgent,
        /// Background services of the whole system.
        SystemDaemon,
    };

    std::string path{};
    /// The list's "Label", or the file name without its extension.
    std::string label{};
    /// The program it starts: "Program", else the first of "ProgramArguments".
    std::optional<std::string> program{};
    Scope scope = Scope::UserAgent;
    bool runAtLoad = false;
    /// Also true for a conditional keep-alive (a dictionary of conditions).
    bool keepAlive = false;
    /// The application the item belongs to, by its bundle path and name.
    std::optional<std::string> ownerName{};
    std::optional<std::string> ownerPath{};
    /// The program is an absolute path at which nothing exists any more.
    bool isOrphan = false;
    /// The file's modification time, whole seconds.
    std::optional<Timestamp> modified{};

    friend bool operator==(const LaunchItem&, const LaunchItem&) = default;

    /// Reads one launch property list. Nothing when the path is not a readable regular file
    /// or does not hold a property-list dictionary. The owner is taken from a ".app" folder
    /// in the program's path, else from the application whose identifier is the label.
    [[nodiscard]] static std::optional<LaunchItem> read(const std::string& plistPath, Scope scope,
                                                        const Workspace& workspace);

    /// Every item of the three launch folders of `locations`, in scope order, each folder
    /// in listing order and only its "*.plist" files; a folder that cannot be listed adds
    /// nothing. Sorted with orphans first, then by owner name (or label) without regard
    /// to case; ties keep that order.
    [[nodiscard]] static std::vector<LaunchItem> loadAll(const Locations& locations,
                                                         const Workspace& workspace);

    /// Where a system has a settings pane for login items, opens it. This one has none, so
    /// nothing is opened and no settings URL reaches the desktop. Called on the GUI thread.
    static void openLoginItemsSettings();
};

inline constexpr std::array allLaunchScopes = {
    LaunchItem::Scope::UserAgent,
    LaunchItem::Scope::SystemAgent,
    LaunchItem::Scope::SystemDaemon,
};

/// The scope's persisted name: "userAgent", "systemAgent" or "systemDaemon".
[[nodiscard]] std::string_view rawValue(LaunchItem::Scope scope);
/// The scope of a persisted name, matched exactly; nothing for any other text.
[[nodiscard]] std::optional<LaunchItem::Scope> launchScopeFromRaw(std::string_view raw);
/// The heading of the scope's section in the login items list.
[[nodiscard]] std::string_view title(LaunchItem::Scope scope);

} // namespace dorvale
