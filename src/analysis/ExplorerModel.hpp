#pragma once

#include "model/FileNode.hpp"
#include "model/SafetyPolicy.hpp"
#include "model/SafetyVerdict.hpp"
#include "model/ScanResult.hpp"
#include "widgets/KeyedRowsModel.hpp"
#include "widgets/NameRanks.hpp"

#include <QIcon>

#include <memory>
#include <optional>
#include <vector>

namespace dorvale {

/// The rows of the explorer's list: the live children of one folder, keyed by node, in
/// the order of a list of sort keys. A click on a column's header makes it the first key
/// (or flips it when it is first already); the keys after it break its ties, and the
/// folder's own order breaks the rest. Names sort in the language's order (digits as
/// numbers, case ignored), by the scan's name ranks once they are known. "Risk" does not
/// sort. Keeps its scan, so its rows stay valid while it lives.
class ExplorerModel : public KeyedRowsModel<const FileNode*, const FileNode*> {
    Q_OBJECT

public:
    enum Column : int {
        Name,
        Size,
        Share,
        Files,
        Category,
        Modified,
        Risk,
    };

    /// One key of the sort order.
    struct SortKey {
        int column = Size;
        Qt::SortOrder order = Qt::DescendingOrder;

        friend bool operator==(const SortKey&, const SortKey&) = default;
    };

    ExplorerModel(const SafetyPolicy& safety, QObject* parent = nullptr);

    /// Shows the children of `folder`, a node of `scan`; `ranks` are the scan's name ranks,
    /// or null until they are known.
    void setFolder(std::shared_ptr<const ScanResult> scan, const FileNode* folder);
    void setNameRanks(std::shared_ptr<const NameRanks> ranks);
    /// Takes the rows again from the folder, after a deletion.
    void refresh();
    [[nodiscard]] const FileNode* folder() const { return m_folder; }

    /// Makes `column` the first key in `order` (keeping the other keys behind it) and sorts.
    void sort(int column, Qt::SortOrder order) override;
    [[nodiscard]] const std::vector<SortKey>& sortKeys() const { return m_keys; }

    /// The shown nodes of `keys`, in row order.
    [[nodiscard]] std::vector<const FileNode*>
    rowsOf(const std::vector<const FileNode*>& keys) const;

protected:
    [[nodiscard]] const FileNode* keyOf(const FileNode* const& row) const override { return row; }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] std::vector<std::int64_t> columnKeys(int column) const;
    [[nodiscard]] std::vector<std::int64_t> nameKeys() const;
    [[nodiscard]] const SafetyVerdict& verdictAt(std::size_t source) const;
    [[nodiscard]] const QIcon& iconAt(std::size_t source) const;
    [[nodiscard]] QVariant nameData(const FileNode& node, std::size_t source, int role) const;
    [[nodiscard]] QVariant sizeData(const FileNode& node, int role) const;
    [[nodiscard]] QVariant riskData(std::size_t source, int role) const;

    const SafetyPolicy& m_safety;
    std::shared_ptr<const ScanResult> m_scan;
    std::shared_ptr<const NameRanks> m_ranks;
    const FileNode* m_folder = nullptr;
    std::vector<SortKey> m_keys{SortKey{}};
    // Made for a row when it is first drawn: a verdict may read the disk.
    mutable std::vector<std::optional<SafetyVerdict>> m_verdicts;
    mutable std::vector<std::optional<QIcon>> m_icons;
    mutable std::optional<std::vector<std::int64_t>> m_nameKeys;
};

} // namespace dorvale
