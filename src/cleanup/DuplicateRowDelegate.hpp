#pragma once

#include <QStyledItemDelegate>

namespace dorvale {

/// The file rows of the duplicates list: a check box, the file's icon, its name over its
/// shown path (elided in the middle), "Suggested original" on the first file of a group, and
/// the modification date in a column of its own. A click on the check box or Space ticks the
/// file. Headers and the row that counts the hidden files are drawn by the list's own
/// delegate, which `fallback` is. Every row has one height, so the list never measures rows.
class DuplicateRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    DuplicateRowDelegate(QAbstractItemDelegate* fallback, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
    /// Where the check box of a row in `row` lies.
    [[nodiscard]] static QRect checkRect(const QRect& row);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintEntry(QPainter& painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;

    QAbstractItemDelegate* m_fallback;
};

} // namespace dorvale
