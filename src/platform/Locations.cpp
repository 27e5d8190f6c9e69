#include "platform/Locations.hpp"

#include "platform/Paths.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace dorvale {

namespace {

constexpr std::string_view applicationFolderName = "Dorvale";

std::string absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return normalizePath(value);
}

std::string homeFromPasswordDatabase() {
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return "/";
    }
    return normalizePath(found->pw_dir);
}

std::string variableOr(const char* name, const std::string& home, std::string_view fallback) {
    std::string value = absoluteVariable(name);
    return value.empty() ? joinPath(home, fallback) : value;
}

// The absolute folders of a ':'-separated list; a relative one is ignored, as the
// directory specification asks.
std::vector<std::string> absoluteFolders(const char* name) {
    std::vector<std::string> folders;
    const char* value = std::getenv(name);
    std::string_view rest = value == nullptr ? std::string_view() : std::string_view(value);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (folder.starts_with('/')) {
            folders.push_back(normalizePath(std::string(folder)));
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

} // namespace

Locations Locations::fromEnvironment() {
    Locations locations;
    locations.home = absoluteVariable("HOME");
    if (locations.home.empty()) {
        locations.home = homeFromPasswordDatabase();
    }
    locations.dataHome = variableOr("XDG_DATA_HOME", locations.home, ".local/share");
    locations.configHome = variableOr("XDG_CONFIG_HOME", locations.home, ".config");
    locations.configDirs = absoluteFolders("XDG_CONFIG_DIRS");
    return locations;
}

Locations Locations::inside(std::string_view root, std::string_view homeRelative) {
    Locations locations;
    const std::string base = normalizePath(root);
    locations.home = normalizePath(std::string(base) + "/" + std::string(homeRelative));
    locations.dataVolume = base;
    locations.systemRoot = base == "/" ? std::string() : base;
    locations.dataHome = joinPath(locations.home, ".local/share");
    locations.configHome = joinPath(locations.home, ".config");
    return locations;
}

Locations Locations::matchingForm() const {
    const std::string volume = normalizePath(dataVolume);
    const auto matching = [&volume](const std::string& path) {
        return std::string(matchingPath(normalizePath(path), volume));
    };
    Locations result = *this;
    result.home = matching(home);
    // Without a usable home folder no path may count as lying inside it ("" + "/" would
    // take in every path, "/" + "/" takes in none).
    if (!result.home.starts_with('/')) {
        result.home = "/";
    }
    result.dataHome = matching(dataHome);
    result.configHome = matching(configHome);
    if (!systemRoot.empty()) {
        result.systemRoot = matching(systemRoot);
        if (result.systemRoot == "/") {
            result.systemRoot.clear();
        }
    }
    result.dataVolume = "/";
    return result;
}

std::string Locations::systemPath(std::string_view absolute) const {
    return normalizePath(systemRoot + "/" + std::string(absolute));
}

std::string Locations::homePath(std::string_view relative) const {
    return joinPath(home, relative);
}

std::string Locations::applicationSupport() const {
    return joinPath(dataHome, applicationFolderName);
}

std::string Locations::settingsFolder() const {
    return joinPath(configHome, applicationFolderName);
}

std::string Locations::homeTrash() const {
    return joinPath(dataHome, "Trash");
}

std::string Locations::trashFolder() const {
    return joinPath(homeTrash(), "files");
}

std::string Locations::autostartFolder() const {
    return joinPath(configHome, "autostart");
}

std::vector<std::string> Locations::systemAutostartFolders() const {
    if (configDirs.empty()) {
        return {systemPath("/etc/xdg/autostart")};
    }
    std::vector<std::string> folders;
    for (const std::string& folder : configDirs) {
        folders.push_back(joinPath(folder, "autostart"));
    }
    return folders;
}

std::string Locations::userUnitFolder() const {
    return joinPath(configHome, "systemd/user");
}

std::vector<std::string> Locations::launchFolders() const {
    return {homePath("Library/LaunchAgents"), systemPath("/Library/LaunchAgents"),
            systemPath("/Library/LaunchDaemons")};
}

} // namespace dorvale
