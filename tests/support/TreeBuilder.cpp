#include "support/TreeBuilder.hpp"

#include "model/FolderNames.hpp"

namespace dorvale::test {

namespace {

FileNode::Attributes folderAttributes(std::string_view name, const NodeOptions& options,
                                      StorageBucket inherited, std::int64_t ownSize) {
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.isPackage = isPackageName(name);
    attributes.kind =
        options.kind.value_or(name.ends_with(".app") ? FileKind::Application : FileKind::Other);
    attributes.bucket = options.bucket.value_or(inherited);
    attributes.size = ownSize;
    attributes.modified = options.modified;
    attributes.accessed = options.accessed;
    return attributes;
}

} // namespace

TreeBuilder::TreeBuilder(std::string rootPath, const NodeOptions& root) {
    m_result.rootPath = rootPath;
    m_root = m_result.nodes->make(rootPath, nullptr,
                                  folderAttributes(rootPath, root, StorageBucket::Other, 0));
    m_result.root = m_root;
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
    const FileNode::Attributes attributes =
        folderAttributes(name, options, parent->bucket(), ownSize);
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
    count(attributes.bucket, attributes.kind, size);
    return node;
}

void TreeBuilder::smallFile(FileNode* parent, std::int64_t size) {
    m_smallFiles[parent].push_back(size);
    const StorageBucket inherited = parent->bucket();
    count(inherited == StorageBucket::Other ? defaultForKind(FileKind::Other) : inherited,
          FileKind::Other, size);
}

void TreeBuilder::count(StorageBucket bucket, FileKind kind, std::int64_t size) {
    ++m_result.totalFiles;
    m_result.bucketTotals[bucket] += size;
    m_result.kindTotals[kind] += size;
    ++m_result.kindCounts[kind];
}

void TreeBuilder::total(FileNode& folder) {
    const std::vector<FileNode*>& children = m_children[&folder];
    NodeArena& nodes = *m_result.nodes;
    nodes.setChildren(folder, children);
    for (FileNode* child : children) {
        if (child->isDirectory()) {
            total(*child);
            nodes.addContents(folder, *child);
        } else {
            nodes.addFile(folder, child->size(), child->logicalSize());
        }
    }
    for (const std::int64_t size : m_smallFiles[&folder]) {
        nodes.addFile(folder, size, size);
        nodes.addSmallFile(folder, size);
    }
}

ScanResult TreeBuilder::finish() {
    total(*m_root);
    return std::move(m_result);
}

} // namespace dorvale::test
