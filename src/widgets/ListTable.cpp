#include "widgets/ListTable.hpp"

#include "style/Typography.hpp"
#include "widgets/SortedRowsModel.hpp"

#include <QHeaderView>
#include <QStyle>

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

// Every column is at least as wide as its header's title with the sort indicator.
std::vector<ListTable::Width> ListTable::widthsForTitles() const {
    const QHeaderView* header = horizontalHeader();
    const QStyle* style = header->style();
    const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int indicator = style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    std::vector<Width> widths = m_widths;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        const QString text = model()->headerData(int(column), Qt::Horizontal).toString();
        const int title = Typography::textWidth(header->font(), text) + 3 * margin + indicator;
        widths[column].least = std::max(widths[column].least, title);
        widths[column].preferred = std::max(widths[column].preferred, title);
    }
    return widths;
}

void ListTable::fitColumns() {
    const std::vector<Width> widths = widthsForTitles();
    const int available = viewport()->width();
    int least = 0;
    int preferred = 0;
    for (const Width& width : widths) {
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
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (int(column) != m_stretch) {
            const int width = fitted(widths[column]);
            header->resizeSection(int(column), width);
            used += width;
        }
    }
    const Width& stretch = widths.at(static_cast<std::size_t>(m_stretch));
    header->resizeSection(m_stretch, std::max(available - used, fitted(stretch)));
}

} // namespace dorvale
