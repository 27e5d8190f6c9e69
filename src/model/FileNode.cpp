#include "model/FileNode.hpp"

#include <algorithm>

namespace dorvale {

FileNode::FileNode(std::string_view name, FileNode* parent, const Attributes& attributes)
    : m_name(name)
    , m_parent(parent)
    , m_size(attributes.size)
    , m_logicalSize(attributes.logicalSize)
    , m_fileCount(attributes.fileCount)
    , m_modified(attributes.modified)
    , m_accessed(attributes.accessed)
    , m_kind(attributes.kind)
    , m_bucket(attributes.bucket)
    , m_isDirectory(attributes.isDirectory)
    , m_isPackage(attributes.isPackage) {}

std::string FileNode::path() const {
    std::vector<std::string_view> names;
    std::size_t length = 0;
    for (const FileNode* node = this; node != nullptr; node = node->m_parent) {
        names.push_back(node->m_name);
        length += node->m_name.size() + 1;
    }
    std::string result;
    result.reserve(length);
    result.append(names.back());
    for (auto name = names.rbegin() + 1; name != names.rend(); ++name) {
        if (result.empty() || result.back() != '/') {
            result += '/';
        }
        result.append(*name);
    }
    return result;
}

std::string_view FileNode::bucketTitle() const {
    return title(m_bucket);
}

void FileNode::addFile(std::int64_t size, std::int64_t logicalSize) {
    m_size += size;
    m_logicalSize += logicalSize;
    ++m_fileCount;
}

void FileNode::addSmallFile(std::int64_t size) {
    m_smallFilesSize += size;
    ++m_smallFilesCount;
}

void FileNode::addContents(const FileNode& child) {
    m_size += child.m_size;
    m_logicalSize += child.m_logicalSize;
    m_fileCount += child.m_fileCount;
}

void FileNode::subtractContents(const FileNode& child) {
    m_size -= child.m_size;
    m_logicalSize -= child.m_logicalSize;
    m_fileCount -= child.m_fileCount;
}

void sortBySizeDescending(std::vector<const FileNode*>& nodes) {
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const FileNode* a, const FileNode* b) { return a->size() > b->size(); });
}

std::vector<const FileNode*> folderChain(const FileNode& node) {
    const FileNode* last = &node;
    if (!node.isDirectory() && node.parent() != nullptr) {
        last = node.parent();
    }
    std::vector<const FileNode*> chain;
    for (const FileNode* at = last; at != nullptr; at = at->parent()) {
        chain.push_back(at);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

} // namespace dorvale
