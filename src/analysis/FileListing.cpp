#include "analysis/FileListing.hpp"

#include "model/FilterPass.hpp"

namespace dorvale {

FileListing FileListing::of(const ScanResult& scan, const FileFilter& filter, Timestamp now,
                            std::string_view dataVolume) {
    return of(scan.files, filter, now, dataVolume);
}

FileListing FileListing::of(std::span<const FileNode* const> files, const FileFilter& filter,
                            Timestamp now, std::string_view dataVolume) {
    FileListing listing;
    FilterPass pass(filter, now, dataVolume);
    for (const FileNode* node : files) {
        if (!node->deleted() && pass.matches(*node)) {
            listing.nodes.push_back(node);
            listing.size += node->size();
        }
    }
    return listing;
}

FileListing::KindLists FileListing::byKind(const ScanResult& scan) {
    KindLists lists;
    for (const FileNode* node : scan.files) {
        lists[static_cast<std::size_t>(node->kind())].push_back(node);
    }
    return lists;
}

} // namespace dorvale
