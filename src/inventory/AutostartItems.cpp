#include "inventory/AutostartItems.hpp"

#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace dorvale::AutostartItems {

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::string> valueOf(const Keys& keys, std::string_view key) {
    const auto found = std::find_if(keys.rbegin(), keys.rend(),
                                    [key](const auto& entry) { return entry.first == key; });
    if (found == keys.rend()) {
        return std::nullopt;
    }
    return found->second;
}

bool isSwitchedOff(const Keys& keys) {
    return valueOf(keys, "Hidden") == "true" ||
           valueOf(keys, "X-GNOME-Autostart-enabled") == "false";
}

bool programIsMissing(const std::optional<std::string>& program) {
    return program && program->starts_with('/') && presenceOf(*program) == Presence::Missing;
}

std::optional<Timestamp> modifiedTime(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<Timestamp>(info.st_mtim.tv_sec);
}

std::optional<LaunchItem> readEntry(const std::string& path, LaunchItem::Scope scope) {
    Result<std::string> contents = readFile(path);
    if (!contents.ok()) {
        return std::nullopt;
    }
    const std::optional<Keys> keys = readGroups(contents.value(), {"Desktop Entry"});
    if (!keys) {
        return std::nullopt;
    }
    LaunchItem item;
    item.path = path;
    item.kind = LaunchItem::Kind::AutostartEntry;
    item.label = std::string(nameWithoutExtension(lastComponent(path)));
    item.ownerName = valueOf(*keys, "Name");
    if (const auto exec = valueOf(*keys, "Exec")) {
        item.program = programOfCommand(*exec);
    }
    item.scope = scope;
    item.disabled = isSwitchedOff(*keys);
    item.runAtLoad = !item.disabled;
    item.isOrphan = programIsMissing(item.program);
    item.modified = modifiedTime(path);
    return item;
}

std::vector<std::string> desktopFiles(const std::string& folder) {
    std::vector<std::string> names = sortedFolderNames(folder);
    std::erase_if(names, [](const std::string& name) { return !name.ends_with(".desktop"); });
    return names;
}

LaunchItem readUnit(const std::string& link) {
    LaunchItem item;
    item.path = link;
    item.kind = LaunchItem::Kind::UserUnit;
    item.label = std::string(lastComponent(link));
    item.scope = LaunchItem::Scope::UserAgent;
    item.runAtLoad = true;
    item.modified = modifiedTime(link);
    Result<std::string> contents = readFile(link);
    if (!contents.ok()) {
        // A link whose unit file is gone still enables nothing but clutter.
        item.isOrphan = presenceOf(link) == Presence::Missing;
        return item;
    }
    const std::optional<Keys> keys = readGroups(contents.value(), {"Unit", "Service"});
    if (!keys) {
        return item;
    }
    item.ownerName = valueOf(*keys, "Description");
    if (const auto exec = valueOf(*keys, "ExecStart")) {
        item.program = programOfCommand(*exec);
    }
    item.keepAlive = valueOf(*keys, "Restart") == "always";
    item.isOrphan = programIsMissing(item.program);
    return item;
}

} // namespace

std::optional<Keys> readGroups(std::string_view contents,
                               std::initializer_list<std::string_view> groups) {
    Keys keys;
    bool found = false;
    bool inGroup = false;
    while (!contents.empty()) {
        const auto end = contents.find('\n');
        const std::string_view line = trimmed(contents.substr(0, end));
        contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
        if (line.starts_with('[') && line.ends_with(']')) {
            const std::string_view name = line.substr(1, line.size() - 2);
            inGroup = std::find(groups.begin(), groups.end(), name) != groups.end();
            found = found || inGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || line.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        keys.emplace_back(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
    }
    if (!found) {
        return std::nullopt;
    }
    return keys;
}

std::optional<std::string> programOfCommand(std::string_view command) {
    command = trimmed(command);
    while (!command.empty() &&
           std::string_view("-@+!:").find(command.front()) != std::string_view::npos) {
        command.remove_prefix(1);
    }
    if (command.empty()) {
        return std::nullopt;
    }
    if (command.front() == '"' || command.front() == '\'') {
        const char quote = command.front();
        const auto close = command.find(quote, 1);
        return std::string(command.substr(1, close == std::string_view::npos ? close : close - 1));
    }
    return std::string(command.substr(0, command.find_first_of(" \t")));
}

std::vector<LaunchItem> loadEntries(const Locations& locations) {
    std::vector<LaunchItem> items;
    std::set<std::string> seen;
    const std::string userFolder = locations.autostartFolder();
    for (const std::string& name : desktopFiles(userFolder)) {
        seen.insert(name);
        if (auto item = readEntry(joinPath(userFolder, name), LaunchItem::Scope::UserAgent)) {
            items.push_back(std::move(*item));
        }
    }
    for (const std::string& folder : locations.systemAutostartFolders()) {
        for (const std::string& name : desktopFiles(folder)) {
            if (!seen.insert(name).second) {
                continue;
            }
            if (auto item = readEntry(joinPath(folder, name), LaunchItem::Scope::SystemAgent)) {
                items.push_back(std::move(*item));
            }
        }
    }
    return items;
}

std::vector<LaunchItem> loadUserUnits(const Locations& locations) {
    std::vector<LaunchItem> items;
    const std::string unitFolder = locations.userUnitFolder();
    for (const std::string& wants : sortedFolderNames(unitFolder)) {
        if (!wants.ends_with(".wants")) {
            continue;
        }
        const std::string folder = joinPath(unitFolder, wants);
        for (const std::string& name : sortedFolderNames(folder)) {
            items.push_back(readUnit(joinPath(folder, name)));
        }
    }
    return items;
}

} // namespace dorvale::AutostartItems
