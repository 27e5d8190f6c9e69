#include "widgets/ListTable.hpp"

#include "widgets/SortedRowsModel.hpp"

#include <QHeaderView>

#include <algorithm>

namespace dorvale {

ListTable::ListTable(SortedRowsModel& model, std::vector<Width> widths, int stretch, int rowHeight,
                     QWidget* parent)
    : QTableView(parent)
    , m_widths(std::move(widths))
    , m_stretch(stretch) {
    setModel(&model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    int least = 0;
    for (const Width& width : m_widths) {
        least = least == 0 ? width.least : std::min(least, width.least);
    }
    header->setMinimumSectionSize(std::max(least, 1));
    model.bindHeader(*header);
}

void ListTable::setColumnWidth(int column, Width width) {
    m_widths.at(static_cast<std::size_t>(column)) = width;
    fitColumns();
}

void ListTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

void ListTable::fitColumns() {
    const int available = viewport()->width();
    int least = 0;
    int preferred = 0;
    for (const Width& width : m_widths) {
        least += width.least;
        preferred += width.preferred;
    }
    const double share = preferred > least
                             ? std::clamp(double(available - least) / (preferred - least), 0.0, 1.0)
                             : 1.0;
    const auto fitted = [share](const Width& width) {
        return width.least + int(share * (width.preferred - width.least));
    };
    int used = 0;
    QHeaderView* header = horizontalHeader();
    for (std::size_t column = 0; column < m_widths.size(); ++column) {
        if (int(column) != m_stretch) {
            const int width = fitted(m_widths[column]);
            header->resizeSection(int(column), width);
            used += width;
        }
    }
    const Width& stretch = m_widths.at(static_cast<std::size_t>(m_stretch));
    header->resizeSection(m_stretch, std::max(available - used, fitted(stretch)));
}

} // namespace dorvale
