#include "support/TreeBuilder.hpp"

#include "model/FolderNames.hpp"

namespace dorvale::test {

TreeBuilder::TreeBuilder(std::string rootPath, StorageBucket rootBucket) {
    m_result.rootPath = rootPath;
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.bucket = rootBucket;
    m_result.root = m_result.nodes->make(rootPath, nullptr, attributes);
    m_result.totalDirectories = 1;
}

FileNode* TreeBuilder::make(FileNode* parent, std::string_view name,
                            FileNode::Attributes attributes) {
    FileNode* node = m_result.nodes->make(name, parent, attributes);
    m_children[parent].push_back(node);
    return node;
}

FileNode* TreeBuilder::folder(FileNode* parent, std::string_view name, const NodeOptions& options,
                              std::int64_t ownSize) {
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.isPackage = isPackageName(name);
    attributes.kind =
        options.kind.value_or(name.ends_with(".app") ? FileKind::Application : FileKind::Other);
    attributes.bucket = options.bucket.value_or(parent->bucket());
    attributes.size = ownSize;
    attributes.modified = options.modified;
    attributes.accessed = options.accessed;
    ++m_result.totalDirectories;
    if (ownSize > 0) {
        m_result.bucketTotals[attributes.bucket] += ownSize;
    }
    return make(parent, name, attributes);
}

FileNode* TreeBuilder::file(FileNode* parent, std::string_view name, std::int64_t size,
                            const NodeOptions& options) {
    FileNode::Attributes attributes;
    attributes.kind = options.kind.value_or(fileKindForName(name));
    const StorageBucket inherited = parent->bucket();
    attributes.bucket = options.bucket.value_or(
        inherited == StorageBucket::Other ? defaultForKind(attributes.kind) : inherited);
    attributes.size = size;
    attributes.logicalSize = options.logicalSize.value_or(size);
    attributes.fileCount = 1;
    attributes.modified = options.modified;
    attributes.accessed = options.accessed;
    FileNode* node = make(parent, name, attributes);
    m_result.files.push_back(node);
    ++m_result.totalFiles;
    m_result.bucketTotals[attributes.bucket] += size;
    m_result.kindTotals[attributes.kind] += size;
    ++m_result.kindCounts[attributes.kind];
    return node;
}

void TreeBuilder::smallFile(FileNode* parent, std::int64_t size) {
    m_smallFiles[parent].push_back(size);
    ++m_result.totalFiles;
}

void TreeBuilder::total(FileNode& folder) {
    const std::vector<FileNode*>& children = m_children[&folder];
    m_result.nodes->setChildren(folder, children);
    for (FileNode* child : children) {
        if (child->isDirectory()) {
            total(*child);
            folder.addContents(*child);
        } else {
            folder.addFile(child->size(), child->logicalSize());
        }
    }
    for (const std::int64_t size : m_smallFiles[&folder]) {
        folder.addFile(size, size);
        folder.addSmallFile(size);
    }
}

ScanResult TreeBuilder::finish() {
    total(*m_result.root);
    return std::move(m_result);
}

} // namespace dorvale::test
