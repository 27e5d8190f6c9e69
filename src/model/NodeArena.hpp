#pragma once

#include "model/FileNode.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace dorvale {

/// Owns the nodes of one tree, their names and their child lists in large blocks, so a
/// node costs its record plus its name and building a tree allocates only once per block.
/// Nothing is freed before the arena itself. Not thread-safe: one builder at a time.
///
/// It is also the one way to fill a node in while its tree is built: the calls below take a
/// non-const node, which only the builder that made it holds, since a finished tree hands
/// out const nodes alone.
class NodeArena final {
public:
    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    /// A new node with a copy of `name`. The node has no children until `setChildren`.
    [[nodiscard]] FileNode* make(std::string_view name, FileNode* parent,
                                 const FileNode::Attributes& attributes);

    /// Gives `folder` a copy of `children` as its child list, replacing any earlier one.
    void setChildren(FileNode& folder, std::span<FileNode* const> children);

    /// Counts one file directly inside `folder`.
    void addFile(FileNode& folder, std::int64_t size, std::int64_t logicalSize);
    /// Records a file counted in `folder` that gets no node of its own.
    void addSmallFile(FileNode& folder, std::int64_t size);
    /// Adds a finished sub-folder's figures to its folder's.
    void addContents(FileNode& folder, const FileNode& child);
    void markUnreadable(FileNode& folder);

    /// The child list of `folder`, as the builder may change the children.
    [[nodiscard]] static std::span<FileNode* const> childrenOf(FileNode& folder);
    /// Takes the children in `gone` out of `folder`'s child list, keeping the others' order.
    static void removeChildren(FileNode& folder, const std::unordered_set<const FileNode*>& gone);
    /// Takes over all that `other` holds, which then holds nothing: its nodes stay where they
    /// are and now live as long as this arena. Trees built in several arenas at once, each
    /// by its own thread, become one tree this way.
    void adopt(NodeArena& other);

    /// Bytes reserved from the system so far.
    [[nodiscard]] std::size_t bytesReserved() const { return m_reserved; }

private:
    [[nodiscard]] void* allocate(std::size_t bytes, std::size_t alignment);

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_cursor = nullptr;
    std::size_t m_left = 0;
    std::size_t m_reserved = 0;
};

} // namespace dorvale
