#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace dorvale {

class FileNode;
struct ScanResult;

/// Names in the order of the user's language (digits by their numeric value, case ignored),
/// as one integer per name, so that a list sorts by name with an integer sort. Names that
/// the language orders alike share a rank.
///
/// A scan's names are ranked once, on the worker pool; every name sort of that scan's lists
/// then reads `rankOf`.
class NameRanks {
public:
    NameRanks() = default;

    /// The rank of each of `names` (bytes, usually UTF-8; invalid sequences order as the
    /// replacement character), from 0. Runs on several threads; callable from any thread.
    [[nodiscard]] static std::vector<std::uint32_t> rank(std::span<const std::string_view> names);

    /// The nodes of `scan` with their names, walked on the calling thread (the GUI thread,
    /// which owns the tree); the names point into the tree and live as long as it does.
    struct Names {
        std::vector<const FileNode*> nodes;
        std::vector<std::string_view> names;
    };
    [[nodiscard]] static Names namesOf(const ScanResult& scan);
    /// Ranks the names taken by `namesOf`; reads the names' bytes and no node.
    [[nodiscard]] static NameRanks ofNames(const Names& names);

    /// Takes the names of `scan` on the GUI thread, ranks them on the worker pool and hands
    /// the ranks to `done` on the GUI thread, unless `context` has gone by then.
    static void rankInBackground(QObject* context, std::shared_ptr<const ScanResult> scan,
                                 std::function<void(std::shared_ptr<const NameRanks>)> done);

    /// The rank of `node`'s name, or the largest rank for a node of another scan.
    [[nodiscard]] std::uint32_t rankOf(const FileNode* node) const;
    [[nodiscard]] std::size_t size() const { return m_count; }

private:
    struct Entry {
        const FileNode* node = nullptr;
        std::uint32_t rank = 0;
    };

    [[nodiscard]] std::size_t homeOf(const FileNode* node) const;
    bool insert(Entry* entries, const FileNode* node, std::uint32_t rank) const;

    // An open-addressed table from node to rank, each node beside its rank: a million
    // look-ups during a sort cost a cache miss each, where a node-based map costs several.
    // Shared, since it never changes once filled.
    std::shared_ptr<const Entry[]> m_entries;
    std::size_t m_capacity = 0;
    std::size_t m_count = 0;
    int m_shift = 64;
};

} // namespace dorvale
