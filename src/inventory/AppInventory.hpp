#pragma once

#include "inventory/InstalledApp.hpp"
#include "inventory/LibraryFolder.hpp"
#include "platform/Bundle.hpp"
#include "platform/Clock.hpp"
#include "platform/FullDiskAccess.hpp"
#include "platform/Locations.hpp"
#include "platform/SpotlightMetadata.hpp"
#include "platform/Workspace.hpp"

#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// The installed applications, each measured and with the data it keeps in the user's
/// Library (caches, containers, preferences, saved window state…). Nothing is cached
/// between calls: every call lists the folders and reads the bundles again.
///
/// Threads: everything here may run on any thread and keeps no state. The calls that touch
/// the disk or the process table block and belong on a worker: `collectApps`,
/// `scanInstalledApps`, `listLibraryEntries`, `readApp`, `spotlightLastUsed` (through the
/// metadata given), `fallbackLastUsed` and `isRunning`. `nameMatchesApp` and the two tables
/// do not block.
namespace dorvale::AppInventory {

/// Tells whether the user's protected data may be read; the real probe in the program, a
/// fixed answer in tests.
using AccessProbe = std::function<bool(const Locations&)>;

/// One row of the Library table: which folder it is, where it lies relative to the home
/// folder, and the label shown for what lies in it.
struct LibraryLocation {
    LibraryFolder folder = LibraryFolder::ApplicationSupport;
    std::string_view relativePath{};
    std::string_view label{};
};

/// One item found directly inside one of the Library locations.
struct LibraryEntry {
    /// Home folder + "/" + the location's relative path + "/" + `name`.
    std::string path{};
    /// The item's own name, as listed (raw bytes).
    std::string name{};
    /// Its location.
    LibraryFolder folder = LibraryFolder::ApplicationSupport;
    /// The localized label of its location, for display.
    std::string label{};

    bool operator==(const LibraryEntry&) const = default;
};

/// The twelve Library locations, in the order they are listed. Built once, read-only.
[[nodiscard]] std::span<const LibraryLocation> libraryLocations();

/// The Caches and Logs locations: data there regenerates by itself and says nothing about
/// when an application was last used.
[[nodiscard]] const std::set<LibraryFolder>& cacheAndLogDirs();

/// Every installed application, largest `totalSize` first. Bundles are read in parallel on
/// a bounded pool, all sharing one listing of the Library. Never fails: unreadable folders
/// and bundles contribute less. Blocks until all are read.
[[nodiscard]] std::vector<InstalledApp>
collectApps(const Locations& locations,
            const SpotlightMetadata& spotlight = SpotlightMetadata::system(),
            const AccessProbe& fullDiskAccess = &FullDiskAccess::isGranted);

/// The bundles of the three application folders ("/Applications", the home folder's
/// "Applications", "/Applications/Utilities"), each once, in discovery order; bundles one
/// folder deeper are found too.
[[nodiscard]] std::vector<std::string> scanInstalledApps(const Locations& locations);

/// Every item directly inside each Library location, hidden ones included, location by
/// location in table order and by name within a location. The probe is asked once; without
/// full disk access the two container locations are not listed. A location that cannot be
/// listed contributes nothing.
[[nodiscard]] std::vector<LibraryEntry>
listLibraryEntries(const Locations& locations,
                   const AccessProbe& fullDiskAccess = &FullDiskAccess::isGranted);

/// The record of the bundle at `bundlePath`, with its related items taken from `library`.
/// Every bundle yields one: a folder that cannot be opened as a bundle is named after its
/// file and has no identifier, version or related items.
[[nodiscard]] InstalledApp
readApp(const std::string& bundlePath, std::span<const LibraryEntry> library,
        const SpotlightMetadata& spotlight = SpotlightMetadata::system());

/// Whether a Library item named `entryName` belongs to the application with this identifier
/// and bundle file name (without ".app"). Letter case is ignored. The file name counts only
/// when it has at least four characters, so that short names do not claim unrelated data;
/// an empty identifier matches nothing.
[[nodiscard]] bool nameMatchesApp(std::string_view entryName, std::string_view bundleID,
                                  std::string_view bundleFileName);

/// Whether the Library item named `entryName` is data of the installed application `app`:
/// `nameMatchesApp` with its identifier and its bundle's file name without extension. An
/// application without an identifier owns nothing.
[[nodiscard]] bool ownsLibraryItem(const InstalledApp& app, std::string_view entryName);

/// The search index's last-used date of the bundle.
[[nodiscard]] std::optional<Timestamp> spotlightLastUsed(const std::string& bundlePath,
                                                         const SpotlightMetadata& spotlight);

/// The latest of the executable's access date and the modification dates of the related
/// items outside Caches and Logs; nothing when none can be read.
[[nodiscard]] std::optional<Timestamp> fallbackLastUsed(const std::optional<Bundle>& bundle,
                                                        std::span<const RelatedItem> related);

/// Whether a running application has exactly this identifier (letter case counts). Asks
/// the workspace, which reads the process table.
[[nodiscard]] bool isRunning(const std::optional<std::string>& bundleID,
                             const Workspace& workspace);

} // namespace dorvale::AppInventory
