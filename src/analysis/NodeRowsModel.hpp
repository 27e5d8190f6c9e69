#pragma once

#include "model/FileNode.hpp"
#include "model/SafetyPolicy.hpp"
#include "model/SafetyVerdict.hpp"
#include "model/ScanResult.hpp"
#include "widgets/KeyedRowsModel.hpp"
#include "widgets/NameRanks.hpp"

#include <QIcon>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace dorvale {

/// The base of the lists of file nodes: rows keyed by node, sorted by a list of sort keys.
/// A click on a column's header makes it the first key (or flips it when it is first
/// already); the keys after it break its ties, and the source order breaks the rest. Names
/// sort in the language's order (digits as numbers, case ignored), by the scan's name ranks
/// once they are known. Icons and lexical verdicts are made for a row when it is first
/// drawn; verdicts that read the disk (applications) are made on the worker pool when the
/// rows are set, and their cells stay empty until they arrive. Keeps its scan, so its rows
/// stay valid while it lives.
class NodeRowsModel : public KeyedRowsModel<const FileNode*, const FileNode*> {
    Q_OBJECT

public:
    /// One key of the sort order.
    struct SortKey {
        int column = 0;
        Qt::SortOrder order = Qt::DescendingOrder;

        friend bool operator==(const SortKey&, const SortKey&) = default;
    };

    /// Sorted by `first` to begin with; `riskColumn` shows `riskData`.
    NodeRowsModel(std::vector<Column> columns, const SafetyPolicy& safety, SortKey first,
                  int riskColumn, QObject* parent = nullptr);

    void setNameRanks(std::shared_ptr<const NameRanks> ranks);

    /// Makes `column` the first key in `order` (keeping the other keys behind it) and sorts.
    void sort(int column, Qt::SortOrder order) override;
    [[nodiscard]] const std::vector<SortKey>& sortKeys() const { return m_keys; }

    /// The shown nodes of `keys`, in row order.
    [[nodiscard]] std::vector<const FileNode*>
    rowsOf(const std::vector<const FileNode*>& keys) const;

    /// The place of a bucket's title in the language's order.
    [[nodiscard]] static std::int64_t bucketRank(StorageBucket bucket);

protected:
    /// Replaces the rows with `nodes` of `scan` in one reset.
    void setNodes(std::shared_ptr<const ScanResult> scan, std::vector<const FileNode*> nodes);
    [[nodiscard]] const std::shared_ptr<const ScanResult>& scan() const { return m_scan; }

    [[nodiscard]] const FileNode* keyOf(const FileNode* const& row) const override { return row; }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] std::vector<std::uint32_t> orderBy(int column,
                                                     Qt::SortOrder order) const override;
    /// The keys of `column` alone, one per source row.
    [[nodiscard]] virtual std::vector<std::int64_t> columnKeys(int column) const = 0;
    /// The keys of the rows' names.
    [[nodiscard]] std::vector<std::int64_t> nameKeys() const;

    /// The verdict of a row; nothing while it is being made on the pool.
    [[nodiscard]] const SafetyVerdict* verdictAt(std::size_t source) const;
    [[nodiscard]] const QIcon& iconAt(std::size_t source) const;
    /// The size cell: its text, the size and its bar's colour, the bar drawn against
    /// `largest` (at least one byte, so an empty list draws empty bars).
    [[nodiscard]] static QVariant sizeData(const FileNode& node, int role, std::int64_t largest);
    /// The risk cell: the badge, its title and the verdict's reason as tooltip; empty while
    /// the verdict is being made.
    [[nodiscard]] QVariant riskData(std::size_t source, int role) const;

private:
    void judgeInBackground();

    const SafetyPolicy& m_safety;
    int m_riskColumn;
    std::shared_ptr<const ScanResult> m_scan;
    std::shared_ptr<const NameRanks> m_ranks;
    std::vector<SortKey> m_keys;
    // Lexical verdicts are made for a row when it is first drawn; those that read the disk
    // come from the pool, for the rows of the generation they were asked for.
    mutable std::vector<std::optional<SafetyVerdict>> m_verdicts;
    std::uint64_t m_generation = 0;
    mutable std::vector<std::optional<QIcon>> m_icons;
    mutable std::optional<std::vector<std::int64_t>> m_nameKeys;
};

} // namespace dorvale
