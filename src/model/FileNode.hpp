#pragma once

#include "model/FileKind.hpp"
#include "model/StorageBucket.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One file or folder of a scanned tree. Nodes are made only through a `NodeArena`, which
/// owns them together with their names and child lists; `parent` and `children` are
/// non-owning. A node is identified by its address: two scans of one path give two nodes.
///
/// Everything public is read-only, and the tree hands out only const nodes: the builder that
/// made a node fills it in through its arena, and after that `ScanResult::markDeleted` is the
/// one change a node ever sees.
///
/// The tree is built by one thread; once handed out it is read and changed only on the
/// thread that owns it. Nodes carry no lock.
class FileNode final {
public:
    /// The figures a node is made with.
    struct Attributes {
        bool isDirectory = false;
        bool isPackage = false;
        FileKind kind = FileKind::Other;
        StorageBucket bucket = StorageBucket::Other;
        std::int64_t size = 0;
        std::int64_t logicalSize = 0;
        std::int64_t fileCount = 0;
        double modified = 0;
        double accessed = 0;
    };

    FileNode(const FileNode&) = delete;
    FileNode& operator=(const FileNode&) = delete;

    /// The last path component; for the root, the scanned path exactly as given.
    [[nodiscard]] std::string_view name() const { return m_name; }
    [[nodiscard]] const FileNode* parent() const { return m_parent; }
    [[nodiscard]] bool isDirectory() const { return m_isDirectory; }
    [[nodiscard]] bool isPackage() const { return m_isPackage; }
    [[nodiscard]] FileKind kind() const { return m_kind; }
    [[nodiscard]] StorageBucket bucket() const { return m_bucket; }
    /// Bytes allocated on disk; for a folder, its own blocks and everything beneath it.
    [[nodiscard]] std::int64_t size() const { return m_size; }
    /// File length; for a folder, the lengths of the files beneath it.
    [[nodiscard]] std::int64_t logicalSize() const { return m_logicalSize; }
    [[nodiscard]] std::int64_t fileCount() const { return m_fileCount; }
    /// Whole seconds since 1970.
    [[nodiscard]] double modified() const { return m_modified; }
    [[nodiscard]] double accessed() const { return m_accessed; }
    /// Sub-folders and files of at least 512 KiB, in the order the walk met them.
    [[nodiscard]] std::span<const FileNode* const> children() const {
        return {static_cast<const FileNode* const*>(m_children), m_childCount};
    }
    /// Figures of the files directly inside that are too small for a node of their own.
    [[nodiscard]] std::int64_t smallFilesSize() const { return m_smallFilesSize; }
    [[nodiscard]] std::int64_t smallFilesCount() const { return m_smallFilesCount; }
    [[nodiscard]] bool unreadable() const { return m_unreadable; }
    /// Whether the node, or a folder above it, was deleted after the scan.
    [[nodiscard]] bool deleted() const { return m_deleted; }

    /// The full path, rebuilt from the names up to the root on every call.
    [[nodiscard]] std::string path() const;
    /// The title of the node's bucket.
    [[nodiscard]] std::string_view bucketTitle() const;

private:
    // The arena fills nodes in while their tree is built; the result marks deletions.
    friend class NodeArena;
    friend struct ScanResult;

    FileNode(std::string_view name, FileNode* parent, const Attributes& attributes);

    void addFile(std::int64_t size, std::int64_t logicalSize);
    void addSmallFile(std::int64_t size);
    void addContents(const FileNode& child);
    void subtractContents(const FileNode& child);

    std::string_view m_name;
    FileNode* m_parent;
    FileNode* const* m_children = nullptr;
    std::int64_t m_size;
    std::int64_t m_logicalSize;
    std::int64_t m_fileCount;
    double m_modified;
    double m_accessed;
    std::int64_t m_smallFilesSize = 0;
    std::uint32_t m_childCount = 0;
    std::int32_t m_smallFilesCount = 0;
    FileKind m_kind;
    StorageBucket m_bucket;
    bool m_isDirectory;
    bool m_isPackage;
    bool m_unreadable = false;
    bool m_deleted = false;
};

/// Sorts by size, larger first; equal sizes keep their order.
void sortBySizeDescending(std::vector<const FileNode*>& nodes);

/// The folders from the root down to `node`, root first, as the explorer opens them; a
/// file's chain ends at its folder.
[[nodiscard]] std::vector<const FileNode*> folderChain(const FileNode& node);

} // namespace dorvale
