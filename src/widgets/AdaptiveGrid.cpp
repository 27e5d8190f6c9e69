#include "widgets/AdaptiveGrid.hpp"

#include <QGridLayout>
#include <QResizeEvent>

#include <algorithm>

namespace dorvale {

AdaptiveGrid::AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent)
    : QWidget(parent)
    , m_minimumColumnWidth(minimumColumnWidth)
    , m_spacing(spacing)
    , m_layout(new QGridLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(spacing);
    m_layout->setAlignment(Qt::AlignTop);
}

void AdaptiveGrid::addCell(QWidget* cell) {
    m_cells.push_back(cell);
    place(m_columns);
}

void AdaptiveGrid::clear() {
    for (QWidget* cell : m_cells) {
        m_layout->removeWidget(cell);
        delete cell;
    }
    m_cells.clear();
}

int AdaptiveGrid::columnsFor(int width) const {
    return std::max(1, (width + m_spacing) / (m_minimumColumnWidth + m_spacing));
}

void AdaptiveGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int columns = columnsFor(event->size().width());
    if (columns != m_columns) {
        place(columns);
    }
}

// Cells are taken out and put back at their new places; the columns share the width evenly.
void AdaptiveGrid::place(int columns) {
    for (QWidget* cell : m_cells) {
        m_layout->removeWidget(cell);
    }
    for (int column = 0; column < m_layout->columnCount(); ++column) {
        m_layout->setColumnStretch(column, 0);
    }
    m_columns = columns;
    for (int column = 0; column < columns; ++column) {
        m_layout->setColumnStretch(column, 1);
    }
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const int index = static_cast<int>(i);
        m_layout->addWidget(m_cells[i], index / columns, index % columns, Qt::AlignTop);
    }
}

} // namespace dorvale
