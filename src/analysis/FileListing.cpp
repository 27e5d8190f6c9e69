#include "analysis/FileListing.hpp"

namespace dorvale {

FileListing FileListing::of(const ScanResult& scan, const FileFilter& filter, Timestamp now,
                            std::string_view dataVolume, std::optional<FileKind> kind) {
    FileListing listing;
    for (const FileNode* node : scan.files) {
        if (node->deleted() || (kind && node->kind() != *kind) ||
            !filter.matches(*node, now, dataVolume)) {
            continue;
        }
        listing.nodes.push_back(node);
        listing.size += node->size();
    }
    return listing;
}

} // namespace dorvale
