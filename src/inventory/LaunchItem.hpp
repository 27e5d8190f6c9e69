#pragma once

#include "platform/AdministratorRunner.hpp"
#include "platform/Clock.hpp"
#include "platform/Locations.hpp"
#include "platform/Process.hpp"
#include "platform/Trash.hpp"
#include "platform/Workspace.hpp"

#include <sys/types.h>

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
/// Threads: `read` and `loadAll` read folders, files and application bundles, and `remove`
/// waits for tools and for the administrator prompt, which may stay open for minutes: call
/// them on a worker. The other calls return at once.
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

    /// What kind of file starts it, which also says how it is removed.
    enum class Kind : std::uint8_t {
        /// A launch property list of one of the three launch folders.
        LaunchList,
        /// A desktop autostart entry, started when the user's session begins.
        AutostartEntry,
        /// An enabled service unit of the user's service manager: `path` is the link in a
        /// "*.wants" folder that enables it.
        UserUnit,
    };

    std::string path{};
    Kind kind = Kind::LaunchList;
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
    /// Present but switched off, so it does not start (a hidden or disabled entry).
    bool disabled = false;

    friend bool operator==(const LaunchItem&, const LaunchItem&) = default;

    /// Removing it asks for an administrator password: a system launch property list.
    [[nodiscard]] bool needsAdministrator() const {
        return kind == Kind::LaunchList && scope != Scope::UserAgent;
    }
    /// Removing it puts its file in the Trash. A system autostart entry stays where it is
    /// and is switched off for this user by a hidden entry of the same name.
    [[nodiscard]] bool removalTrashesFile() const {
        return kind != Kind::AutostartEntry || scope == Scope::UserAgent;
    }

    /// Reads one launch property list. Nothing when the path is not a readable regular file
    /// or does not hold a property-list dictionary. The owner is taken from a ".app" folder
    /// in the program's path, else from the application whose identifier is the label.
    [[nodiscard]] static std::optional<LaunchItem> read(const std::string& plistPath, Scope scope,
                                                        const Workspace& workspace);

    /// Every item of the three launch folders of `locations`, in scope order, each folder
    /// in listing order and only its "*.plist" files, then the autostart entries and the
    /// enabled user units (`AutostartItems`); a folder that cannot be listed adds
    /// nothing. Sorted with orphans first, then by owner name (or label) without regard
    /// to case; ties keep that order.
    [[nodiscard]] static std::vector<LaunchItem> loadAll(const Locations& locations,
                                                         const Workspace& workspace);

    /// Opens the user's autostart folder in the file browser, made first when missing:
    /// desktops differ in where their list of startup programs lives, but each reads this
    /// folder. Called on the GUI thread.
    static void openLoginItemsSettings(const Locations& locations, Workspace& workspace);

    /// Stops the item's job and moves its property list to the Trash, so it no longer
    /// starts; the application it belongs to is left alone. Nothing on success, otherwise
    /// the sentence to show.
    ///
    /// The path must pass `isRemovablePath`, and for a system item the place in the
    /// Trash it goes to `isRemovableTarget`, else "Unsupported file name." and nothing is
    /// run. The user's own agent is
    /// booted out of "gui/<uid>" (whatever that says) and moved with this user's rights
    /// through `trash`; a failed move gives `DeletionEngine::failureReason`. An item of
    /// the system folders is moved by `systemRemovalCommand` through `administrator`
    /// into the home Trash, whose description is written here first, as this user, and
    /// taken back when the command does not succeed.
    ///
    /// An autostart entry or a user unit's enabling link needs no tool and no password:
    /// the path must hold no ".." and end in ".desktop" or lie in a "*.wants" folder. The
    /// user's entry and the link go to the Trash; a system entry is overridden by writing
    /// `Hidden=true` into the user's entry of the same name, atomically, so no half entry
    /// is ever read.
    [[nodiscard]] static std::optional<std::string>
    remove(const LaunchItem& item, uid_t uid, const Locations& locations, const Trash& trash,
           const ProcessRunner& processes, const AdministratorRunner& administrator);

    /// Whether a property list path may be handed to the removal's commands: an absolute
    /// path made only of ASCII letters, digits, ".", "_", "@", "+", "/", " " and "-",
    /// ending in ".plist" and holding no "..".
    [[nodiscard]] static bool isRemovablePath(std::string_view path);
    /// The same character rule without the ending, for the place in the Trash.
    [[nodiscard]] static bool isRemovableTarget(std::string_view path);

    /// The launch domain a scope's jobs run in: "gui/<uid>" for agents, "system" for daemons.
    [[nodiscard]] static std::string launchDomain(Scope scope, uid_t uid);

    /// The administrator command that stops a system item and moves its property list to
    /// `target`: a fixed shell script, with the domain, the path and the target as its
    /// positional parameters, so no shell ever reads them as script text. The bootout's
    /// outcome is ignored; the move's is the command's.
    [[nodiscard]] static std::vector<std::string> systemRemovalCommand(Scope scope,
                                                                       const std::string& path,
                                                                       const std::string& target,
                                                                       uid_t uid);
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
