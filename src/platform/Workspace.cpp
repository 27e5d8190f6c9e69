#include "platform/Workspace.hpp"

#include "platform/Bundle.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <unordered_map>
#include <unordered_set>

namespace dorvale {

namespace {

constexpr std::string_view bundleMarker = ".app/Contents/MacOS/";

bool isBundleName(std::string_view name) {
    return name.size() > 4 && name.ends_with(".app");
}

class BundleCollector {
public:
    void add(std::string path) {
        if (m_seen.insert(path).second) {
            m_paths.push_back(std::move(path));
        }
    }

    void collectFolder(const std::string& folder) {
        for (const FolderEntry& entry :
             listFolderEntries(folder).value_or(std::vector<FolderEntry>{})) {
            const std::string path = joinPath(folder, entry.name);
            if (isBundleName(entry.name)) {
                add(path);
            } else if (entry.isFolder && entry.name != "Utilities") {
                collectNested(path);
            }
        }
    }

    std::vector<std::string> take() { return std::move(m_paths); }

private:
    void collectNested(const std::string& folder) {
        for (const FolderEntry& entry :
             listFolderEntries(folder).value_or(std::vector<FolderEntry>{})) {
            if (isBundleName(entry.name)) {
                add(joinPath(folder, entry.name));
            }
        }
    }

    std::vector<std::string> m_paths;
    std::unordered_set<std::string> m_seen;
};

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t index = 0; index < a.size(); ++index) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        };
        if (lower(a[index]) != lower(b[index])) {
            return false;
        }
    }
    return true;
}

bool isProcessId(std::string_view name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string readLink(const std::string& path) {
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
        return {};
    }
    target.resize(static_cast<std::size_t>(length));
    return target;
}

// The bundle folder that holds a program, or "" when the program is in no bundle.
std::string bundleOfProgram(const std::string& program) {
    const std::size_t marker = program.find(bundleMarker);
    if (marker == std::string::npos || marker == 0 || program.front() != '/') {
        return {};
    }
    return program.substr(0, marker + 4);
}

} // namespace

SystemWorkspace::SystemWorkspace(Locations locations, DesktopServices& desktop,
                                 std::string processFolder)
    : m_locations(std::move(locations))
    , m_desktop(desktop)
    , m_processFolder(std::move(processFolder)) {}

std::vector<std::string> SystemWorkspace::applicationBundlePaths(const Locations& locations) {
    BundleCollector collector;
    collector.collectFolder(locations.systemPath("/Applications"));
    collector.collectFolder(locations.homePath("Applications"));
    collector.collectFolder(locations.systemPath("/Applications/Utilities"));
    return collector.take();
}

std::vector<std::string> SystemWorkspace::runningBundleIdentifiers() const {
    std::vector<std::string> identifiers;
    std::unordered_set<std::string> seenIdentifiers;
    std::unordered_map<std::string, std::optional<std::string>> bundles;
    for (const FolderEntry& entry :
         listFolderEntries(m_processFolder).value_or(std::vector<FolderEntry>{})) {
        if (!isProcessId(entry.name)) {
            continue;
        }
        const std::string bundle =
            bundleOfProgram(readLink(joinPath(joinPath(m_processFolder, entry.name), "exe")));
        if (bundle.empty()) {
            continue;
        }
        auto [found, isNew] = bundles.try_emplace(bundle);
        if (isNew) {
            const std::optional<Bundle> opened = Bundle::open(bundle);
            found->second = opened ? opened->bundleIdentifier() : std::nullopt;
        }
        if (found->second && seenIdentifiers.insert(*found->second).second) {
            identifiers.push_back(*found->second);
        }
    }
    return identifiers;
}

std::optional<std::string>
SystemWorkspace::applicationPath(std::string_view bundleIdentifier) const {
    if (bundleIdentifier.empty()) {
        return std::nullopt;
    }
    for (const std::string& path : applicationBundlePaths(m_locations)) {
        const std::optional<Bundle> bundle = Bundle::open(path);
        const std::optional<std::string> identifier =
            bundle ? bundle->bundleIdentifier() : std::nullopt;
        if (identifier && equalIgnoringAsciiCase(*identifier, bundleIdentifier)) {
            return path;
        }
    }
    return std::nullopt;
}

void SystemWorkspace::open(const std::string& path) {
    m_desktop.open(path);
}

void SystemWorkspace::reveal(const std::vector<std::string>& paths) {
    m_desktop.reveal(paths);
}

} // namespace dorvale
