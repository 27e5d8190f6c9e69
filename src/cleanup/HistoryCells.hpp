#pragma once

#include "widgets/CellDelegate.hpp"

namespace dorvale {

/// A push button with the cell's text, drawn where the cell has a text and nothing where it
/// has none. A click on it, or Space on its cell, says so with the row.
class CellButtonDelegate : public CellDelegate {
    Q_OBJECT

public:
    using CellDelegate::CellDelegate;

    /// Where the button showing `text` lies in a cell at `cell`.
    [[nodiscard]] static QRect buttonRect(const QRect& cell, const QFont& font,
                                          const QString& text);

signals:
    void clicked(int row);

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

} // namespace dorvale
