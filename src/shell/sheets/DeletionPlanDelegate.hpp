#pragma once

#include <QStyledItemDelegate>

namespace dorvale {

/// Paints the rows of a `DeletionPlanModel`. A header row shows the group's risk badge and,
/// beside it, its count and size. An item row shows the item's icon, its name, the verdict's
/// reason and its path one above the other, each on one line (the path cut in the middle),
/// and its size at the right, secondary for protected items. Rows are drawn at the model's
/// opacity. Both kinds of row have a fixed height for the current fonts.
class DeletionPlanDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

    /// The height of a header row and of an item row.
    [[nodiscard]] static int headerHeight();
    [[nodiscard]] static int itemHeight();
};

} // namespace dorvale
