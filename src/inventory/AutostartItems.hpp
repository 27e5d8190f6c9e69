#pragma once

#include "inventory/LaunchItem.hpp"
#include "platform/Locations.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// The programs a desktop session starts by itself, read from files alone: the desktop
/// autostart entries and the user's enabled service units. No service manager needs to run.
///
/// Threads: reads folders and files; call on a worker.
namespace AutostartItems {

/// The keys of a desktop entry's "[Desktop Entry]" group (or a unit file's "[Unit]",
/// "[Service]" and "[Install]" groups together), later keys of the same name winning.
/// Nothing when the text has no such group.
[[nodiscard]] std::optional<std::vector<std::pair<std::string, std::string>>>
readGroups(std::string_view contents, std::initializer_list<std::string_view> groups);

/// The program of an "Exec" or "ExecStart" command line: its first word, without quotes
/// and without a unit's leading "-", "@", "+", "!" or ":" prefixes.
[[nodiscard]] std::optional<std::string> programOfCommand(std::string_view command);

/// The user's autostart entries (scope `UserAgent`), then those of the system folders not
/// overridden by a user entry of the same name (scope `SystemAgent`); a system entry that
/// the user's entry hides shows as that user entry. Each folder in listing order, only its
/// "*.desktop" files that hold a "[Desktop Entry]" group. An entry with `Hidden=true` or
/// `X-GNOME-Autostart-enabled=false` is `disabled`.
[[nodiscard]] std::vector<LaunchItem> loadEntries(const Locations& locations);

/// The user's enabled units: each link in a "*.wants" folder of `userUnitFolder()`, read
/// through the unit file it points to (scope `UserAgent`, `runAtLoad` true, `keepAlive` for
/// "Restart=always"). A link whose unit file is gone is an orphan.
[[nodiscard]] std::vector<LaunchItem> loadUserUnits(const Locations& locations);

} // namespace AutostartItems

} // namespace dorvale
