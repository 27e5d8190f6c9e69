#include "model/NodeArena.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace dorvale {

namespace {

// Nodes are never destroyed one by one: the arena drops its blocks whole.
static_assert(std::is_trivially_destructible_v<FileNode>);

constexpr std::size_t blockSize = 256 * 1024;

} // namespace

void* NodeArena::allocate(std::size_t bytes, std::size_t alignment) {
    const auto misalignment = reinterpret_cast<std::uintptr_t>(m_cursor) % alignment;
    const std::size_t padding = misalignment == 0 ? 0 : alignment - misalignment;
    if (m_cursor == nullptr || padding + bytes > m_left) {
        // A request larger than a block gets a block of its own, so the current one stays.
        const std::size_t size = std::max(blockSize, bytes + alignment);
        auto block = std::make_unique_for_overwrite<std::byte[]>(size);
        m_reserved += size;
        std::byte* start = block.get();
        m_blocks.push_back(std::move(block));
        if (size > blockSize) {
            const auto offset = reinterpret_cast<std::uintptr_t>(start) % alignment;
            return start + (offset == 0 ? 0 : alignment - offset);
        }
        m_cursor = start;
        m_left = size;
        return allocate(bytes, alignment);
    }
    std::byte* result = m_cursor + padding;
    m_cursor = result + bytes;
    m_left -= padding + bytes;
    return result;
}

FileNode* NodeArena::make(std::string_view name, FileNode* parent,
                          const FileNode::Attributes& attributes) {
    void* storage = allocate(sizeof(FileNode), alignof(FileNode));
    char* nameStorage = static_cast<char*>(allocate(std::max<std::size_t>(name.size(), 1), 1));
    std::memcpy(nameStorage, name.data(), name.size());
    return new (storage) FileNode(std::string_view(nameStorage, name.size()), parent, attributes);
}

void NodeArena::setChildren(FileNode& folder, std::span<FileNode* const> children) {
    if (children.empty()) {
        folder.m_children = nullptr;
        folder.m_childCount = 0;
        return;
    }
    auto* storage =
        static_cast<FileNode**>(allocate(children.size() * sizeof(FileNode*), alignof(FileNode*)));
    std::copy(children.begin(), children.end(), storage);
    folder.m_children = storage;
    folder.m_childCount = static_cast<std::uint32_t>(children.size());
}

void NodeArena::addFile(FileNode& folder, std::int64_t size, std::int64_t logicalSize) {
    folder.addFile(size, logicalSize);
}

void NodeArena::addSmallFile(FileNode& folder, std::int64_t size) {
    folder.addSmallFile(size);
}

void NodeArena::addContents(FileNode& folder, const FileNode& child) {
    folder.addContents(child);
}

void NodeArena::markUnreadable(FileNode& folder) {
    folder.m_unreadable = true;
}

std::span<FileNode* const> NodeArena::childrenOf(FileNode& folder) {
    return {folder.m_children, folder.m_childCount};
}

void NodeArena::removeChildren(FileNode& folder, const std::unordered_set<const FileNode*>& gone) {
    if (folder.m_childCount == 0) {
        return;
    }
    // Child lists are allocated writable by `setChildren`; only the node hands them out const.
    auto* const children = const_cast<FileNode**>(folder.m_children);
    FileNode** const end =
        std::remove_if(children, children + folder.m_childCount,
                       [&](const FileNode* child) { return gone.contains(child); });
    folder.m_childCount = static_cast<std::uint32_t>(end - children);
}

void NodeArena::adopt(NodeArena& other) {
    for (std::unique_ptr<std::byte[]>& block : other.m_blocks) {
        m_blocks.push_back(std::move(block));
    }
    m_reserved += other.m_reserved;
    other.m_blocks.clear();
    other.m_cursor = nullptr;
    other.m_left = 0;
    other.m_reserved = 0;
}

} // namespace dorvale
