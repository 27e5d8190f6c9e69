#include "widgets/RowSelection.hpp"

#include "widgets/SortedRowsModel.hpp"

#include <QItemSelectionModel>

namespace dorvale {

RowSelection::RowSelection(SortedRowsModel& model, QItemSelectionModel& selection)
    : QObject(&selection)
    , m_model(model)
    , m_selection(selection) {
    connect(&model, &QAbstractItemModel::modelReset, this, &RowSelection::mirror);
    connect(&model, &SortedRowsModel::aboutToSort, this, &RowSelection::dropShown);
    connect(&model, &SortedRowsModel::sorted, this, &RowSelection::mirror);
    connect(&selection, &QItemSelectionModel::selectionChanged, this, &RowSelection::userChanged);
}

// Runs of held rows become one range each, so a whole selection is one range.
void RowSelection::mirror() {
    const int rows = m_model.rowCount();
    const int lastColumn = m_model.columnCount() - 1;
    QItemSelection shown;
    int first = -1;
    for (int row = 0; row <= rows; ++row) {
        const bool held = row < rows && isRowSelected(row);
        if (held && first < 0) {
            first = row;
        } else if (!held && first >= 0) {
            shown.select(m_model.index(first, 0), m_model.index(row - 1, lastColumn));
            first = -1;
        }
    }
    m_mirroring = true;
    m_selection.select(shown, QItemSelectionModel::ClearAndSelect);
    m_mirroring = false;
}

// The selection model would keep a persistent index for every selected row through the
// sort, only for `mirror` to replace them all after it.
void RowSelection::dropShown() {
    if (!m_selection.hasSelection()) {
        return;
    }
    m_mirroring = true;
    m_selection.clearSelection();
    m_mirroring = false;
}

void RowSelection::userChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (m_mirroring) {
        return;
    }
    // A row counts as deselected only once none of its cells is selected any more.
    for (const QItemSelectionRange& range : deselected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!m_selection.isRowSelected(row)) {
                rowPicked(row, false);
            }
        }
    }
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rowPicked(row, true);
        }
    }
    emit changed();
}

} // namespace dorvale
