#include "inventory/DeveloperArtefacts.hpp"

#include "inventory/InstalledApp.hpp"
#include "model/MatchingPath.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace dorvale {

namespace {

using Explanations = std::unordered_map<std::string_view, std::string_view>;

const Explanations& explanations() {
    static const Explanations table = {
        {"node_modules", tr("Node dependencies. `npm install` restores them.")},
        {".venv", tr("Python virtual environment.")},
        {"venv", tr("Python virtual environment.")},
        {"Pods", tr("CocoaPods dependencies. `pod install` restores them.")},
        {".next", tr("Next.js build output.")},
        {".turbo", tr("Turborepo cache.")},
        {"DerivedData", tr("Xcode intermediate builds.")},
        {"__pycache__", tr("Python bytecode.")},
    };
    return table;
}

struct Walk {
    const Locations& locations;
    /// The home folder's Library with a trailing slash, as matching paths write it.
    std::string library;
    std::vector<DevItem> items{};
};

DevItem folderItem(const FileNode& folder, std::string path, std::string_view detail) {
    const FileNode* project = folder.parent();
    std::string title(project != nullptr ? project->name() : std::string_view());
    title += " / ";
    title += folder.name();
    return DevItem{
        .path = std::move(path),
        .title = std::move(title),
        .detail = std::string(detail),
        .size = folder.size(),
        // The project folder changes when its sources do; the artefact folder itself is
        // rewritten by every install or build, so its own date says little.
        .lastTouched = project != nullptr ? project->modified() : folder.modified(),
        .removal = Removal::Permanent,
    };
}

/// Reports `folder` when it is an artefact; whether it was.
bool report(Walk& walk, const FileNode& folder) {
    const auto detail = artefactExplanation(folder.name());
    if (!detail || folder.size() <= artefactFolderThreshold) {
        return false;
    }
    std::string path = folder.path();
    const MatchingPath matching = MatchingPath::ofRealPath(path, walk.locations.dataVolume);
    if (matching.text().starts_with(walk.library)) {
        return false;
    }
    walk.items.push_back(folderItem(folder, std::move(path), *detail));
    return true;
}

/// Reports the artefacts among the children of `folder` and queues the others to search. A
/// folder no larger than an artefact must be holds none, as nothing in it is larger than
/// itself, so most of a tree is never entered.
void visit(Walk& walk, const FileNode& folder, std::vector<const FileNode*>& pending) {
    for (const FileNode* child : folder.children()) {
        if (!child->isDirectory() || child->size() <= artefactFolderThreshold || child->deleted() ||
            report(walk, *child)) {
            continue;
        }
        if (!child->isPackage()) {
            pending.push_back(child);
        }
    }
}

DevItem junkItem(const JunkRule& rule, const JunkItem& item) {
    std::string title = rule.title;
    title += " · ";
    title += lastComponent(item.id);
    return DevItem{
        .path = item.id,
        .title = std::move(title),
        .detail = rule.explanation,
        .size = item.size,
        .lastTouched = item.modified.value_or(distantPast),
        .removal = rule.removal,
    };
}

} // namespace

std::optional<std::string_view> artefactExplanation(std::string_view name) {
    const Explanations& table = explanations();
    const auto found = table.find(name);
    if (found == table.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<DevItem> artefactFolders(const ScanResult& scan, const Locations& locations) {
    Walk walk{.locations = locations,
              .library = joinPath(locations.matchingForm().home, "Library/")};
    if (scan.root == nullptr) {
        return {};
    }
    // An explicit stack rather than recursion: scanned trees can be deeper than the call
    // stack allows.
    std::vector<const FileNode*> pending{scan.root};
    while (!pending.empty()) {
        const FileNode* folder = pending.back();
        pending.pop_back();
        visit(walk, *folder, pending);
    }
    return std::move(walk.items);
}

std::vector<DevItem> developerJunkItems(std::span<const JunkFinding> junk) {
    std::vector<DevItem> items;
    for (const JunkFinding& finding : junk) {
        if (finding.rule.group != JunkGroup::Developer) {
            continue;
        }
        for (const JunkItem& item : finding.items) {
            items.push_back(junkItem(finding.rule, item));
        }
    }
    return items;
}

std::vector<DevItem> findDeveloperArtefacts(const ScanResult* scan,
                                            std::span<const JunkFinding> junk,
                                            const Locations& locations) {
    std::vector<DevItem> items;
    if (scan != nullptr) {
        items = artefactFolders(*scan, locations);
    }
    // A path that both sources find is listed once: twice, it would be counted twice and
    // planned twice, and the second removal would fail on an item already gone.
    std::unordered_set<std::string> seen;
    for (const DevItem& item : items) {
        seen.insert(item.path);
    }
    for (DevItem& item : developerJunkItems(junk)) {
        if (seen.insert(item.path).second) {
            items.push_back(std::move(item));
        }
    }
    return items;
}

} // namespace dorvale
