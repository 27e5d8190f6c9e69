#include "inventory/LaunchItem.hpp"

#include "inventory/AutostartItems.hpp"
#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"
#include "platform/PropertyList.hpp"
#include "platform/RawValue.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <sys/stat.h>

#include <algorithm>

namespace dorvale {

namespace {

struct ScopeInfo {
    std::string_view raw;
    std::string_view title;
};

constexpr std::array<ScopeInfo, allLaunchScopes.size()> scopeInfo = {{
    {"userAgent", "Your login agents"},
    {"systemAgent", "Agents for all users"},
    {"systemDaemon", "System daemons"},
}};

const ScopeInfo& info(LaunchItem::Scope scope) {
    return scopeInfo[static_cast<std::size_t>(scope)];
}

// A property-list boolean, or a number that is exactly 0 or 1.
std::optional<bool> readsAsBoolean(const PropertyList* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    if (const auto boolean = value->asBoolean()) {
        return boolean;
    }
    if (const auto integer = value->asInteger(); integer && (*integer == 0 || *integer == 1)) {
        return *integer == 1;
    }
    if (const auto real = value->asReal(); real && (*real == 0 || *real == 1)) {
        return *real == 1;
    }
    return std::nullopt;
}

std::optional<std::string> programOf(const PropertyList& list) {
    if (auto program = list.string("Program")) {
        return program;
    }
    if (auto arguments = list.strings("ProgramArguments"); arguments && !arguments->empty()) {
        return std::move(arguments->front());
    }
    return std::nullopt;
}

void setOwnerPath(LaunchItem& item, std::string ownerPath) {
    item.ownerName = std::string(nameWithoutExtension(lastComponent(ownerPath)));
    item.ownerPath = std::move(ownerPath);
}

// A program inside an application bundle belongs to that bundle; otherwise the label may
// be the bundle identifier of the application that installed the item.
void findOwner(LaunchItem& item, const Workspace& workspace) {
    if (item.program) {
        const std::size_t bundleEnd = item.program->find(".app/");
        if (bundleEnd != std::string::npos) {
            setOwnerPath(item, item.program->substr(0, bundleEnd) + ".app");
            return;
        }
    }
    if (auto application = workspace.applicationPath(item.label)) {
        setOwnerPath(item, std::move(*application));
    }
}

// Only a program that is certainly gone makes an orphan: a path this user may not look
// into could still lead to an installed program, and an orphan is offered for removal.
bool programIsMissing(const std::optional<std::string>& program) {
    if (!program || !program->starts_with('/')) {
        return false;
    }
    return presenceOf(*program) == Presence::Missing;
}

void sortForDisplay(std::vector<LaunchItem>& items) {
    struct Keyed {
        std::string key;
        LaunchItem item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items.size());
    for (LaunchItem& item : items) {
        std::string key = lowercased(item.ownerName ? *item.ownerName : item.label);
        keyed.push_back({std::move(key), std::move(item)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.item.isOrphan != b.item.isOrphan) {
            return a.item.isOrphan;
        }
        return a.key < b.key;
    });
    items.clear();
    for (Keyed& entry : keyed) {
        items.push_back(std::move(entry.item));
    }
}

// Adds the items of one launch folder's "*.plist" files, in listing order.
void loadFolder(const std::string& folder, LaunchItem::Scope scope, const Workspace& workspace,
                std::vector<LaunchItem>& items) {
    const std::optional<std::vector<std::string>> names = listFolder(folder);
    if (!names) {
        return;
    }
    for (const std::string& name : *names) {
        if (!name.ends_with(".plist")) {
            continue;
        }
        if (auto item = LaunchItem::read(joinPath(folder, name), scope, workspace)) {
            items.push_back(std::move(*item));
        }
    }
}

} // namespace

std::string_view rawValue(LaunchItem::Scope scope) {
    return info(scope).raw;
}

std::optional<LaunchItem::Scope> launchScopeFromRaw(std::string_view raw) {
    return findByRawValue(allLaunchScopes, raw);
}

std::string_view title(LaunchItem::Scope scope) {
    return tr(info(scope).title);
}

std::optional<LaunchItem> LaunchItem::read(const std::string& plistPath, Scope scope,
                                           const Workspace& workspace) {
    const std::optional<PropertyList> list = PropertyList::readDictionaryFile(plistPath);
    struct stat info {};
    if (!list || ::stat(plistPath.c_str(), &info) != 0) {
        return std::nullopt;
    }
    LaunchItem item;
    item.path = plistPath;
    item.label =
        list->string("Label").value_or(std::string(nameWithoutExtension(lastComponent(plistPath))));
    item.program = programOf(*list);
    item.scope = scope;
    item.runAtLoad = readsAsBoolean(list->find("RunAtLoad")).value_or(false);
    item.keepAlive = list->dictionary("KeepAlive") != nullptr ||
                     readsAsBoolean(list->find("KeepAlive")).value_or(false);
    findOwner(item, workspace);
    item.isOrphan = programIsMissing(item.program);
    item.modified = static_cast<Timestamp>(info.st_mtim.tv_sec);
    return item;
}

std::vector<LaunchItem> LaunchItem::loadAll(const Locations& locations,
                                            const Workspace& workspace) {
    const std::vector<std::string> folders = locations.launchFolders();
    std::vector<LaunchItem> items;
    for (std::size_t index = 0; index < allLaunchScopes.size() && index < folders.size(); ++index) {
        loadFolder(folders[index], allLaunchScopes[index], workspace, items);
    }
    for (auto* load : {&AutostartItems::loadEntries, &AutostartItems::loadUserUnits}) {
        std::vector<LaunchItem> more = load(locations);
        std::move(more.begin(), more.end(), std::back_inserter(items));
    }
    sortForDisplay(items);
    return items;
}

void LaunchItem::openLoginItemsSettings(const Locations& locations, Workspace& workspace) {
    const std::string folder = locations.autostartFolder();
    // A folder that cannot be made is still handed over: the browser says why it is not there.
    static_cast<void>(createFolderChain(folder));
    workspace.open(folder);
}

} // namespace dorvale
