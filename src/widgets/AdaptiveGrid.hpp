#pragma once

#include <QWidget>

#include <vector>

class QGridLayout;

namespace dorvale {

/// Cells in as many equal columns as fit the grid's width, each column at least
/// `minimumColumnWidth` wide, filled row by row and aligned to the top of their row. A
/// narrower grid shows one column. The grid takes over the cells.
class AdaptiveGrid : public QWidget {
    Q_OBJECT

public:
    AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent = nullptr);

    void addCell(QWidget* cell);
    /// Deletes every cell.
    void clear();
    [[nodiscard]] int columnCount() const { return m_columns; }
    /// The columns that fit `width`.
    [[nodiscard]] int columnsFor(int width) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place(int columns);

    int m_minimumColumnWidth;
    int m_spacing;
    int m_columns = 1;
    QGridLayout* m_layout;
    std::vector<QWidget*> m_cells;
};

} // namespace dorvale
