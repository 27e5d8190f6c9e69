#pragma once

#include <QTableView>

#include <vector>

namespace dorvale {

class SortedRowsModel;

/// A table over one of the kit's list models, set up as every list of the program is: whole
/// rows selected, no grid, alternating rows of one fixed height, no row numbers, sorting
/// bound to the model through the header. Its columns share the width it has: each gets its
/// preferred width when there is room, less down to its least width when there is not (the
/// table then scrolls sideways), and the stretching column takes what is left over. No
/// column is narrower than its header's title.
class ListTable : public QTableView {
    Q_OBJECT

public:
    /// Least and preferred widths of one column, in pixels.
    struct Width {
        int least = 0;
        int preferred = 0;
    };

    /// `widths` holds one entry per column of `model`; `stretch` is the column that takes
    /// the rest of the width.
    ListTable(SortedRowsModel& model, std::vector<Width> widths, int stretch, int rowHeight,
              QWidget* parent = nullptr);

    /// Sets one column's widths, for a column whose content needs more in this font.
    void setColumnWidth(int column, Width width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] std::vector<Width> widthsForTitles() const;
    void fitColumns();

    std::vector<Width> m_widths;
    int m_stretch;
};

} // namespace dorvale
