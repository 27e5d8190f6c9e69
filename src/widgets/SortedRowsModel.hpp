#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

class QHeaderView;

namespace dorvale {

/// The columns, sorting and row order of a list: the base of every list model. The rows are
/// held by the subclass in its own source order; this class keeps the order in which they
/// are shown and maps shown rows to source indexes and back.
///
/// A sort asks the subclass for one integer key per source row of the sorted column, then
/// orders the source indexes by key, ties in source order whichever the direction (a
/// descending sort compares the other way; it never reverses an ascending list). A column
/// marked unsortable ignores a sort. Each sort is one layout change with the persistent
/// indexes moved to their rows' new places.
class SortedRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        QString title;
        bool sortable = true;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    };

    explicit SortedRowsModel(std::vector<Column> columns, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    /// Sorts by `column` unless it is unsortable or out of range.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    [[nodiscard]] bool isSortable(int column) const;
    /// The column of the current order, or -1 while the rows are in source order.
    [[nodiscard]] int sortColumn() const { return m_sortColumn; }
    [[nodiscard]] Qt::SortOrder sortOrder() const { return m_sortOrder; }
    /// The source index of the row shown at `row` (which must be a row of the model).
    [[nodiscard]] std::size_t sourceAt(int row) const {
        return m_order[static_cast<std::size_t>(row)];
    }
    /// The row that shows source index `source`, or -1.
    [[nodiscard]] int rowOfSource(std::size_t source) const;

    /// Sorts the model when the user picks a column of `header` (which belongs to a view
    /// over it), shows its current order there, and puts the indicator back when the user
    /// picks an unsortable column.
    void bindHeader(QHeaderView& header);

signals:
    /// A sort is about to change the order of the rows; sent before the layout change.
    void aboutToSort();
    /// A sort (not a reset) changed the order of the rows.
    void sorted();

protected:
    /// The sort keys of `column`, one per source row in source order.
    [[nodiscard]] virtual std::vector<std::int64_t> sortKeys(int column) const = 0;
    /// What the cell of source row `source` in `column` shows for `role`.
    [[nodiscard]] virtual QVariant cellData(std::size_t source, int column, int role) const = 0;
    /// The number of source rows.
    [[nodiscard]] virtual std::size_t sourceCount() const = 0;

    /// Call after the subclass has replaced its rows (between `beginResetModel` and
    /// `endResetModel`): the new rows are shown in the current sort order.
    void reorderAfterReset();
    /// The source indexes in the order shown when sorted by `column` in `order`: by the
    /// column's keys, ties in source order; the source order for an unsortable column. A
    /// subclass that sorts by more than one key orders the rows itself here.
    [[nodiscard]] virtual std::vector<std::uint32_t> orderBy(int column, Qt::SortOrder order) const;

private:
    std::vector<Column> m_columns;
    std::vector<std::uint32_t> m_order;
    // Inverse of m_order, made when first asked for after a change.
    mutable std::vector<std::int32_t> m_rowOfSource;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace dorvale
