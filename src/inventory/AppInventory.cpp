#include "inventory/AppInventory.hpp"

#include "model/Scanner.hpp"
#include "platform/FileDates.hpp"
#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/ParallelMap.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <algorithm>
#include <array>

namespace dorvale::AppInventory {

namespace {

constexpr std::string_view applePrefix = "com.apple.";

std::string displayName(const std::optional<Bundle>& bundle, std::string_view bundlePath) {
    if (bundle) {
        for (const std::string_view key : {"CFBundleDisplayName", "CFBundleName"}) {
            if (std::optional<std::string> name = bundle->infoString(key)) {
                return std::move(*name);
            }
        }
    }
    return std::string(nameWithoutExtension(lastComponent(bundlePath)));
}

std::vector<RelatedItem> relatedItems(const InstalledApp& app,
                                      std::span<const LibraryEntry> library) {
    std::vector<RelatedItem> items;
    for (const LibraryEntry& entry : library) {
        if (ownsLibraryItem(app, entry.name)) {
            items.push_back(
                {entry.path, entry.label, Scanner::directorySize(entry.path).bytes, entry.folder});
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const RelatedItem& a, const RelatedItem& b) { return a.size > b.size; });
    return items;
}

void keepLater(std::optional<Timestamp>& latest, std::optional<Timestamp> candidate) {
    if (candidate && (!latest || *candidate > *latest)) {
        latest = candidate;
    }
}

} // namespace

std::span<const LibraryLocation> libraryLocations() {
    static const std::array<LibraryLocation, 12> table{{
        {LibraryFolder::ApplicationSupport, "Library/Application Support",
         tr("Application Support")},
        {LibraryFolder::Caches, "Library/Caches", tr("Caches")},
        {LibraryFolder::Containers, "Library/Containers", tr("Container")},
        {LibraryFolder::GroupContainers, "Library/Group Containers", tr("Group Container")},
        {LibraryFolder::Preferences, "Library/Preferences", tr("Preferences")},
        {LibraryFolder::SavedApplicationState, "Library/Saved Application State",
         tr("Window State")},
        {LibraryFolder::Logs, "Library/Logs", tr("Logs")},
        {LibraryFolder::HttpStorages, "Library/HTTPStorages", tr("Web Storage")},
        {LibraryFolder::WebKit, "Library/WebKit", tr("WebKit")},
        {LibraryFolder::Cookies, "Library/Cookies", tr("Cookies")},
        {LibraryFolder::LaunchAgents, "Library/LaunchAgents", tr("Launch Agent")},
        {LibraryFolder::ApplicationScripts, "Library/Application Scripts", tr("Scripts")},
    }};
    return table;
}

const std::set<LibraryFolder>& cacheAndLogDirs() {
    static const std::set<LibraryFolder> folders{LibraryFolder::Caches, LibraryFolder::Logs};
    return folders;
}

std::vector<InstalledApp> collectApps(const Locations& locations,
                                      const SpotlightMetadata& spotlight,
                                      const AccessProbe& fullDiskAccess) {
    const std::vector<std::string> bundles = scanInstalledApps(locations);
    // One listing serves every bundle; the workers only read it.
    const std::vector<LibraryEntry> library = listLibraryEntries(locations, fullDiskAccess);
    std::vector<InstalledApp> apps =
        parallelMap(std::span<const std::string>(bundles),
                    [&](const std::string& path) { return readApp(path, library, spotlight); });
    std::stable_sort(apps.begin(), apps.end(), [](const InstalledApp& a, const InstalledApp& b) {
        return a.totalSize() > b.totalSize();
    });
    return apps;
}

std::vector<std::string> scanInstalledApps(const Locations& locations) {
    return SystemWorkspace::applicationBundlePaths(locations);
}

std::vector<LibraryEntry> listLibraryEntries(const Locations& locations,
                                             const AccessProbe& fullDiskAccess) {
    const bool granted = fullDiskAccess(locations);
    std::vector<LibraryEntry> entries;
    for (const LibraryLocation& location : libraryLocations()) {
        if (!granted && (location.folder == LibraryFolder::Containers ||
                         location.folder == LibraryFolder::GroupContainers)) {
            continue;
        }
        const std::string folder = locations.homePath(location.relativePath);
        for (std::string& name : sortedFolderNames(folder)) {
            std::string path = joinPath(folder, name);
            entries.push_back(
                {std::move(path), std::move(name), location.folder, std::string(location.label)});
        }
    }
    return entries;
}

InstalledApp readApp(const std::string& bundlePath, std::span<const LibraryEntry> library,
                     const SpotlightMetadata& spotlight) {
    const std::optional<Bundle> bundle = Bundle::open(bundlePath);
    InstalledApp app;
    app.path = bundlePath;
    app.name = displayName(bundle, bundlePath);
    app.bundleID = bundle ? bundle->bundleIdentifier() : std::nullopt;
    app.version = bundle ? bundle->infoString("CFBundleShortVersionString") : std::nullopt;
    app.appSize = Scanner::directorySize(bundlePath).bytes;
    app.isApple = app.bundleID && app.bundleID->starts_with(applePrefix);
    if (app.bundleID && !app.isApple) {
        app.related = relatedItems(app, library);
    }
    app.isAppStore = presenceOf(joinPath(bundlePath, "Contents/_MASReceipt")) == Presence::Present;
    app.lastUsed = spotlightLastUsed(bundlePath, spotlight);
    if (!app.lastUsed) {
        app.lastUsed = fallbackLastUsed(bundle, app.related);
    }
    return app;
}

bool nameMatchesApp(std::string_view entryName, std::string_view bundleID,
                    std::string_view bundleFileName) {
    // Everything matched here is removed with the application, and an empty identifier
    // would claim every hidden preference file.
    if (bundleID.empty()) {
        return false;
    }
    const std::string name = lowercased(entryName);
    const std::string identifier = lowercased(bundleID);
    if (name == identifier) {
        return true;
    }
    for (const std::string_view suffix :
         {".plist", ".savedstate", ".binarycookies", ".helper", ".shipit"}) {
        if (name.size() == identifier.size() + suffix.size() && name.starts_with(identifier) &&
            name.ends_with(suffix)) {
            return true;
        }
    }
    if (name.starts_with(identifier + ".") && name.ends_with(".plist")) {
        return true;
    }
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos && std::string_view(name).substr(dot + 1) == identifier) {
        return true;
    }
    if (characterCount(bundleFileName) < 4) {
        return false;
    }
    return name == lowercased(bundleFileName);
}

bool ownsLibraryItem(const InstalledApp& app, std::string_view entryName) {
    return app.bundleID &&
           nameMatchesApp(entryName, *app.bundleID, nameWithoutExtension(lastComponent(app.path)));
}

std::optional<Timestamp> spotlightLastUsed(const std::string& bundlePath,
                                           const SpotlightMetadata& spotlight) {
    return spotlight.lastUsedDate(bundlePath);
}

std::optional<Timestamp> fallbackLastUsed(const std::optional<Bundle>& bundle,
                                          std::span<const RelatedItem> related) {
    std::optional<Timestamp> latest;
    if (bundle) {
        if (const std::optional<std::string> executable = bundle->executablePath()) {
            keepLater(latest, contentAccessDate(*executable));
        }
    }
    for (const RelatedItem& item : related) {
        if (!cacheAndLogDirs().contains(item.folder)) {
            keepLater(latest, contentModificationDate(item.path));
        }
    }
    return latest;
}

bool isRunning(const std::optional<std::string>& bundleID, const Workspace& workspace) {
    if (!bundleID) {
        return false;
    }
    const std::vector<std::string> running = workspace.runningBundleIdentifiers();
    return std::find(running.begin(), running.end(), *bundleID) != running.end();
}

} // namespace dorvale::AppInventory
