#pragma once

#include "model/ScanResult.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dorvale::test {

/// How a node made by `TreeBuilder` differs from the defaults.
struct NodeOptions {
    /// Defaults to the size.
    std::optional<std::int64_t> logicalSize{};
    double modified = 0;
    double accessed = 0;
    /// Defaults: a file's kind from its name, a folder's from its ".app" suffix.
    std::optional<FileKind> kind{};
    /// Defaults: the parent's bucket (for a file in `Other`, its kind's default).
    std::optional<StorageBucket> bucket{};
};

/// Builds a scan result by hand, for every test that needs a tree without a walk. Folders
/// get their figures from what is added beneath them when `finish` runs; files, small ones
/// included, are counted in the result's totals as a scan would count them. The nodes it
/// returns are the builder's own, non-const; the finished result hands out const ones, and
/// deletions go through `ScanResult::markDeleted` once the figures are summed.
class TreeBuilder {
public:
    /// A tree whose root folder is `rootPath`; `root` sets its dates, kind and bucket.
    explicit TreeBuilder(std::string rootPath, const NodeOptions& root = {});

    [[nodiscard]] FileNode* root() const { return m_root; }
    /// A folder; `ownSize` stands for the folder's own blocks.
    FileNode* folder(FileNode* parent, std::string_view name, const NodeOptions& options = {},
                     std::int64_t ownSize = 0);
    /// A file with a node of its own, whatever its size.
    FileNode* file(FileNode* parent, std::string_view name, std::int64_t size,
                   const NodeOptions& options = {});
    /// A file counted only in its folder's small-file figures; its kind is `Other`.
    void smallFile(FileNode* parent, std::int64_t size);

    /// Attaches the child lists, sums folder figures bottom-up and hands the result out; the
    /// nodes live as long as the returned result.
    [[nodiscard]] ScanResult finish();

private:
    FileNode* make(FileNode* parent, std::string_view name, FileNode::Attributes attributes);
    void count(StorageBucket bucket, FileKind kind, std::int64_t size);
    void total(FileNode& folder);

    ScanResult m_result;
    FileNode* m_root = nullptr;
    std::unordered_map<FileNode*, std::vector<FileNode*>> m_children;
    std::unordered_map<FileNode*, std::vector<std::int64_t>> m_smallFiles;
};

} // namespace dorvale::test
