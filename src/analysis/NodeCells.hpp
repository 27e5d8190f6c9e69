#pragma once

#include "widgets/CellDelegate.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/ListTable.hpp"

#include <span>
#include <vector>

namespace dorvale {

/// The item-data roles of file-node lists beside the kit's.
enum NodeRole : int {
    /// Whether the node's folder could not be read (`bool`): the name shows a lock.
    UnreadableRole = DetailRole + 100,
    /// The colour of a cell's dot (`QColor`).
    DotColorRole,
};

/// The name of a node: its icon (`Qt::DecorationRole`), the name on one line, and below it
/// the detail (`DetailRole`, usually the containing folder) when the model gives one; a lock
/// in the caution colour follows the name of an unreadable folder (`UnreadableRole`).
class NodeNameDelegate : public CellDelegate {
    Q_OBJECT

public:
    using CellDelegate::CellDelegate;

    /// The edge of the icon.
    static constexpr int iconSide = 20;

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;
};

/// A small dot in `DotColorRole` before the text in the secondary colour: a category or a
/// kind.
class DotLabelDelegate : public CellDelegate {
    Q_OBJECT

public:
    using CellDelegate::CellDelegate;

    static constexpr int dotSide = 7;

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;
};

/// `nominal` widened where the cells of a node table need more in `font`: the date column for
/// the longest short date, the risk column for the widest full badge.
[[nodiscard]] std::vector<ListTable::Width>
nodeColumnWidths(const QFont& font, std::span<const ListTable::Width> nominal, int dateColumn,
                 int riskColumn);

} // namespace dorvale
