#pragma once

#include <span>
#include <vector>

class QTableView;

namespace dorvale {

/// Least and preferred width of a column of a node table.
struct ColumnWidth {
    int least;
    int preferred;
};

/// `nominal` widened where this table's font needs more: the date column for the longest
/// short date, the risk column for the widest full badge.
[[nodiscard]] std::vector<ColumnWidth> fittedWidths(const QTableView& table,
                                                    std::span<const ColumnWidth> nominal,
                                                    int dateColumn, int riskColumn);

/// Sizes the columns of `table` to its viewport: each column gets its preferred width when
/// there is room, less down to its least width when there is not (the table then scrolls),
/// and the first column takes what is left over.
void fitColumns(QTableView& table, std::span<const ColumnWidth> widths);

} // namespace dorvale
