#include "inventory/ScanLookup.hpp"

#include "platform/Paths.hpp"

namespace dorvale {

namespace {

const FileNode* childNamed(const FileNode& folder, std::string_view name) {
    for (const FileNode* child : folder.children()) {
        if (child->name() == name && !child->deleted()) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

const FileNode* nodeFromLastScan(const ScanResult& scan, const MatchingPath& path,
                                 std::string_view dataVolume) {
    if (scan.root == nullptr) {
        return nullptr;
    }
    const MatchingPath rootPath = MatchingPath::ofRealPath(scan.root->path(), dataVolume);
    const std::string_view root = rootPath.text();
    // The root must be a whole-component prefix: a scan of /Users/a must not answer for
    // /Users/ab through a child named "b".
    if (!isSameOrInside(path.text(), root)) {
        return nullptr;
    }
    const FileNode* node = scan.root;
    std::string_view rest = path.text().substr(root.size());
    while (node != nullptr && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view component = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (!component.empty()) {
            node = childNamed(*node, component);
        }
    }
    return node;
}

} // namespace dorvale
