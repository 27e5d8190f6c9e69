#pragma once

#include "model/FileFilter.hpp"
#include "platform/Text.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// A `FileFilter` applied to many nodes at one time. The path conditions (a query with "/",
/// a path prefix) are answered once for each folder: a file takes its folder's answer and
/// adds only its own name, so no file's path is rebuilt. The answers are those of the rule
/// on each node's whole matching path; nodes in walk order share the most work.
class FilterPass {
public:
    /// `filter` must outlive the pass.
    FilterPass(const FileFilter& filter, Timestamp now, std::string_view dataVolume);

    [[nodiscard]] bool matches(const FileNode& node);

private:
    enum class Prefix { All, Some, None };

    // A folder on the chain from the root to the folder of the last node asked about. Its
    // real path is the start of `m_path`, up to `end`.
    struct Folder {
        const FileNode* node;
        std::size_t end;
        // Where its matching path begins in `m_path`, and where the last code points of it
        // that a query match reaching past it could start in.
        std::size_t matchStart = 0;
        std::size_t tailStart = 0;
        bool containsQuery = false;
        bool endsWithQueryHead = false;
        Prefix prefix = Prefix::None;
        // The data volume lies at or beneath it, so its files' matching paths are not its
        // own followed by their names: they are matched on their own paths.
        bool holdsDataVolume = false;
    };

    [[nodiscard]] bool matchesFigures(const FileNode& node) const;
    [[nodiscard]] bool matchesPath(const FileNode& node);
    [[nodiscard]] bool matchesWholePath(std::string_view matching) const;
    const Folder& folder(const FileNode& node);
    void push(const FileNode& node);

    const FileFilter& m_filter;
    Timestamp m_now;
    std::string_view m_dataVolume;
    FoldedQuery m_query;
    bool m_queryByPath;
    // The query before and after its last "/": a match that reaches from a folder's path into
    // a file's name ends the one with the head and begins the name with the tail.
    FoldedQuery m_queryHead;
    FoldedQuery m_queryTail;
    std::string m_path;
    std::vector<Folder> m_chain;
    // Scratch space, kept to spare allocations.
    std::vector<const FileNode*> m_ancestors;
    std::string m_window;
};

} // namespace dorvale
