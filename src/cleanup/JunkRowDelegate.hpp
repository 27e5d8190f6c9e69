#pragma once

#include <QStyledItemDelegate>

namespace dorvale {

/// Paints the rows of a `JunkModel`: a group's header with its symbol; a rule with its
/// disclosure arrow, its checkbox (dimmed while partly ticked), title, risk badge, removal,
/// explanation, item count and total; an item with its checkbox, icon, name, date and size.
/// A click on a checkbox, or Space on the current row, ticks it; a click elsewhere on a
/// rule asks for the rule to open or close.
class JunkRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// Where the checkbox of the row `index` is drawn in `rect`; empty for rows without one.
    [[nodiscard]] static QRect checkRect(const QRect& rect, const QModelIndex& index);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

signals:
    /// A rule row was clicked outside its checkbox.
    void ruleClicked(const QModelIndex& index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

} // namespace dorvale
