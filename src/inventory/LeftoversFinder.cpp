#include "inventory/LeftoversFinder.hpp"

#include "model/Scanner.hpp"
#include "platform/FileDates.hpp"
#include "platform/Text.hpp"

#include <algorithm>

namespace dorvale::AppInventory {

namespace {

// The name with its ".plist", then ".savedState", then ".binarycookies" ending cut, each
// test made on what the previous one left and with its letter case.
std::string_view cutSuffixes(std::string_view name) {
    for (const std::string_view suffix : {".plist", ".savedState", ".binarycookies"}) {
        if (name.ends_with(suffix)) {
            name.remove_suffix(suffix.size());
        }
    }
    return name;
}

std::size_t nonEmptyPieces(std::string_view text) {
    std::size_t pieces = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        pieces += dot > start ? 1 : 0;
        start = dot + 1;
    }
    return pieces;
}

bool isReservedIdentifier(std::string_view lower, std::string_view ownPrefix) {
    if (lower.starts_with("com.apple.") || lower.starts_with("group.")) {
        return true;
    }
    // An empty prefix would match every name; it stands for no own identifier at all.
    return !ownPrefix.empty() && lower.starts_with(lowercased(ownPrefix));
}

bool belongsToInstalled(const std::string& lower, const std::set<std::string>& installed) {
    if (installed.contains(lower)) {
        return true;
    }
    return std::any_of(installed.begin(), installed.end(), [&](const std::string& identifier) {
        return lower.size() > identifier.size() && lower.starts_with(identifier) &&
               lower[identifier.size()] == '.';
    });
}

// What the inventory lists as an installed application's data belongs to it whatever else
// its name looks like (a team prefix, a dotted bundle name): deleting it as a leftover would
// delete the data of an application still in use.
bool ownedByInstalled(std::string_view name, std::span<const InstalledApp> apps) {
    return std::any_of(apps.begin(), apps.end(),
                       [&](const InstalledApp& app) { return ownsLibraryItem(app, name); });
}

// The workspace look-up and the size walk are the expensive tests and come last.
std::optional<Leftover> examine(const LibraryEntry& entry, std::span<const InstalledApp> apps,
                                const std::set<std::string>& installed,
                                const Workspace& workspace) {
    if (!leftoverLocations().contains(entry.folder)) {
        return std::nullopt;
    }
    std::optional<std::string> identifier = leftoverIdentifier(entry.name, installed);
    if (!identifier || ownedByInstalled(entry.name, apps) ||
        workspace.applicationPath(*identifier)) {
        return std::nullopt;
    }
    const std::int64_t size = Scanner::directorySize(entry.path).bytes;
    if (size < leftoverMinimumSize) {
        return std::nullopt;
    }
    return Leftover{entry.path, std::move(*identifier), entry.label, size,
                    contentModificationDate(entry.path)};
}

} // namespace

const std::set<LibraryFolder>& leftoverLocations() {
    static const std::set<LibraryFolder> folders{
        LibraryFolder::ApplicationSupport,
        LibraryFolder::Caches,
        LibraryFolder::Containers,
        LibraryFolder::Preferences,
        LibraryFolder::SavedApplicationState,
        LibraryFolder::HttpStorages,
        LibraryFolder::WebKit,
        LibraryFolder::Logs,
    };
    return folders;
}

std::set<std::string> installedIdentifiers(std::span<const InstalledApp> apps) {
    std::set<std::string> identifiers;
    for (const InstalledApp& app : apps) {
        // An empty identifier names nothing; kept, it would claim every hidden file.
        if (app.bundleID && !app.bundleID->empty()) {
            identifiers.insert(lowercased(*app.bundleID));
        }
    }
    return identifiers;
}

std::optional<std::string> leftoverIdentifier(std::string_view name,
                                              const std::set<std::string>& installed,
                                              std::string_view ownPrefix) {
    const std::string_view identifier = cutSuffixes(name);
    const std::string lower = lowercased(identifier);
    if (nonEmptyPieces(lower) <= 2 || isReservedIdentifier(lower, ownPrefix) ||
        lower.find(' ') != std::string::npos || belongsToInstalled(lower, installed)) {
        return std::nullopt;
    }
    return std::string(identifier);
}

std::vector<Leftover> findLeftovers(std::span<const InstalledApp> apps, const Locations& locations,
                                    const Workspace& workspace, const AccessProbe& fullDiskAccess) {
    const std::set<std::string> installed = installedIdentifiers(apps);
    std::vector<Leftover> leftovers;
    for (const LibraryEntry& entry : listLibraryEntries(locations, fullDiskAccess)) {
        if (std::optional<Leftover> leftover = examine(entry, apps, installed, workspace)) {
            leftovers.push_back(std::move(*leftover));
        }
    }
    std::stable_sort(leftovers.begin(), leftovers.end(),
                     [](const Leftover& a, const Leftover& b) { return a.size > b.size; });
    return leftovers;
}

} // namespace dorvale::AppInventory
