#include "GeneratedTree.hpp"

#include <utility>

namespace dorvale {

GeneratedTree::GeneratedTree(const std::string& rootPath, Timestamp now)
    : m_now(now) {
    m_result.rootPath = rootPath;
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    FileNode* root = m_result.nodes->make(rootPath, nullptr, attributes);
    m_result.root = root;
    m_open.push_back({root, {}});
}

void GeneratedTree::open(std::string_view name, std::optional<StorageBucket> bucket) {
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.size = 4'096;
    attributes.modified = m_now - 30 * secondsPerDay;
    attributes.bucket = bucket.value_or(m_open.back().folder->bucket());
    m_result.bucketTotals[attributes.bucket] += attributes.size;
    ++m_result.totalDirectories;
    FileNode* folder = m_result.nodes->make(name, m_open.back().folder, attributes);
    m_open.back().children.push_back(folder);
    m_open.push_back({folder, {}});
    ++m_nodes;
}

void GeneratedTree::close() {
    Open done = std::move(m_open.back());
    m_open.pop_back();
    m_result.nodes->setChildren(*done.folder, done.children);
    m_result.nodes->addContents(*m_open.back().folder, *done.folder);
}

void GeneratedTree::file(std::string_view name, std::int64_t size, Timestamp modified,
                         FileKind kind) {
    FileNode::Attributes attributes;
    attributes.size = size;
    attributes.logicalSize = size;
    attributes.fileCount = 1;
    attributes.modified = modified;
    attributes.kind = kind;
    attributes.bucket = m_open.back().folder->bucket();
    m_result.bucketTotals[attributes.bucket] += size;
    m_result.kindTotals[kind] += size;
    ++m_result.kindCounts[kind];
    FileNode* node = m_result.nodes->make(name, m_open.back().folder, attributes);
    m_open.back().children.push_back(node);
    m_result.nodes->addFile(*m_open.back().folder, size, size);
    m_result.files.push_back(node);
    ++m_nodes;
}

std::shared_ptr<ScanResult> GeneratedTree::finish() {
    m_result.nodes->setChildren(*m_open.front().folder, m_open.front().children);
    m_result.totalFiles = static_cast<std::int64_t>(m_result.files.size());
    m_result.duration = 12.3;
    return std::make_shared<ScanResult>(std::move(m_result));
}

} // namespace dorvale
