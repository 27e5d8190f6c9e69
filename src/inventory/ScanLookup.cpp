#include "inventory/ScanLookup.hpp"

#include "model/DisplayPath.hpp"
#include "platform/Paths.hpp"

#include <string>

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

const FileNode* nodeFromLastScan(const ScanResult& scan, std::string_view path,
                                 std::string_view dataVolume) {
    if (scan.root == nullptr) {
        return nullptr;
    }
    const std::string rootPath = normalizePath(scan.root->path());
    const std::string_view root = matchingPath(rootPath, dataVolume);
    // The root must be a whole-component prefix: a scan of /Users/a must not answer for
    // /Users/ab through a child named "b".
    if (!isSameOrInside(path, root)) {
        return nullptr;
    }
    const FileNode* node = scan.root;
    std::string_view rest = path.substr(root.size());
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
