#pragma once

#include "inventory/AppInventory.hpp"
#include "inventory/InstalledApp.hpp"
#include "inventory/Leftover.hpp"
#include "inventory/LibraryFolder.hpp"
#include "platform/Bundle.hpp"
#include "platform/FullDiskAccess.hpp"
#include "platform/Locations.hpp"
#include "platform/Workspace.hpp"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Finds data in the user's Library left behind by applications that are gone: items named
/// after a reverse-DNS application identifier that no installed application owns and that
/// the workspace does not know either.
///
/// Threads: keeps no state and may run on any thread. `findLeftovers` lists the Library,
/// asks the workspace and measures folders, so it blocks and belongs on a worker; the other
/// calls do not block.
namespace dorvale::AppInventory {

/// Items smaller than this many bytes are never reported.
inline constexpr std::int64_t leftoverMinimumSize = 65'536;

/// The eight Library locations searched for leftovers. Built once, read-only.
[[nodiscard]] const std::set<LibraryFolder>& leftoverLocations();

/// The leftovers among the Library's items, largest first; equal sizes keep the Library's
/// listing order. `apps` are the installed applications, whose data is never reported:
/// neither what `ownsLibraryItem` gives one of them nor what is named after an installed
/// identifier or lies beneath one. The workspace is asked only about names that pass every
/// other test. Never fails.
[[nodiscard]] std::vector<Leftover>
findLeftovers(std::span<const InstalledApp> apps, const Locations& locations,
              const Workspace& workspace,
              const AccessProbe& fullDiskAccess = &FullDiskAccess::isGranted);

/// The lowercased identifiers of the applications that have one.
[[nodiscard]] std::set<std::string> installedIdentifiers(std::span<const InstalledApp> apps);

/// The identifier a Library item named `name` would be left by (the name without a
/// ".plist", ".savedState" or ".binarycookies" ending, letter case kept), or nothing when
/// the name is no application identifier of a missing application: fewer than three
/// dot-separated pieces, a space, the system's or this program's own identifiers
/// (`ownPrefix`; an empty prefix excludes nothing), group containers, and the installed
/// identifiers with everything beneath them. `installed` holds lowercased identifiers.
[[nodiscard]] std::optional<std::string>
leftoverIdentifier(std::string_view name, const std::set<std::string>& installed,
                   std::string_view ownPrefix = ownOrganisationPrefix);

} // namespace dorvale::AppInventory
