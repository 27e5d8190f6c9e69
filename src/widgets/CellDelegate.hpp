#pragma once

#include <QStyledItemDelegate>

namespace dorvale {

/// The base of the kit's painted cells: the view's style draws the row's background,
/// selection and focus as for any cell, and the subclass paints the content in the cell's
/// rectangle less the style's text margins.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const final;

protected:
    /// Paints the content of `index` in `option.rect`, in the option's font and palette.
    virtual void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const = 0;
};

/// The size text with a bar showing the row's share of the list's largest size
/// (`SizeRole`, `LargestSizeRole`, `BarColorRole`).
class SizeBarDelegate : public CellDelegate {
    Q_OBJECT

public:
    using CellDelegate::CellDelegate;

    /// The share the bar shows: 0 when the largest size is not positive.
    [[nodiscard]] static double shareOf(qint64 size, qint64 largest);

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;
};

/// The risk badge of `RiskRole`; nothing where a row has no risk.
class RiskDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit RiskDelegate(bool compact = false, QObject* parent = nullptr);

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;

private:
    bool m_compact;
};

/// The row's icon (`Qt::DecorationRole`) beside two lines: the name (`Qt::DisplayRole`, in
/// the font of `Qt::FontRole` when the model gives one), elided at its end and followed by a
/// dot in `MarkColorRole` when the model gives one, and below it in small secondary type the
/// detail (`DetailRole`), elided in its middle so both ends of a path stay. Without an icon
/// the text takes its room.
class NameDelegate : public CellDelegate {
    Q_OBJECT

public:
    static constexpr int defaultIconSize = 24;

    explicit NameDelegate(QObject* parent = nullptr, int iconSize = defaultIconSize);

    /// Two lines of text beside an icon of `iconSize`: a view gives its rows this height.
    [[nodiscard]] static int rowHeight(const QFont& font, int iconSize = defaultIconSize);
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;

private:
    int m_iconSize;
};

/// The text in the secondary colour (or in the colour of `Qt::ForegroundRole` when the model
/// gives one) with digits of one width, at the model's alignment: sizes, shares, counts and
/// dates.
class FigureDelegate : public CellDelegate {
    Q_OBJECT

public:
    using CellDelegate::CellDelegate;

protected:
    void paintContent(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const override;
};

} // namespace dorvale
