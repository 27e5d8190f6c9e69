#include "widgets/SortedRowsModel.hpp"

#include "widgets/KeyOrder.hpp"

#include <QHeaderView>
#include <QSignalBlocker>

#include <numeric>
#include <utility>

namespace dorvale {

SortedRowsModel::SortedRowsModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(std::move(columns)) {}

int SortedRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int SortedRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant SortedRowsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(m_columns[static_cast<std::size_t>(index.column())].alignment);
    }
    return cellData(sourceAt(index.row()), index.column(), role);
}

QVariant SortedRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    const Column& column = m_columns[static_cast<std::size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    default:
        return {};
    }
}

bool SortedRowsModel::isSortable(int column) const {
    return column >= 0 && column < columnCount() &&
           m_columns[static_cast<std::size_t>(column)].sortable;
}

int SortedRowsModel::rowOfSource(std::size_t source) const {
    if (m_rowOfSource.size() != m_order.size()) {
        m_rowOfSource.assign(m_order.size(), -1);
        for (std::size_t row = 0; row < m_order.size(); ++row) {
            m_rowOfSource[m_order[row]] = static_cast<std::int32_t>(row);
        }
    }
    return source < m_rowOfSource.size() ? m_rowOfSource[source] : -1;
}

void SortedRowsModel::sort(int column, Qt::SortOrder order) {
    if (!isSortable(column)) {
        return;
    }
    emit aboutToSort();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> sources;
    sources.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        sources.push_back(sourceAt(index.row()));
    }
    m_order = orderBy(column, order);
    m_rowOfSource.clear();
    m_sortColumn = column;
    m_sortOrder = order;
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(
            index(rowOfSource(sources[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit sorted();
}

void SortedRowsModel::reorderAfterReset() {
    m_order = orderBy(m_sortColumn, m_sortOrder);
    m_rowOfSource.clear();
}

std::vector<std::uint32_t> SortedRowsModel::orderBy(int column, Qt::SortOrder order) const {
    if (!isSortable(column)) {
        std::vector<std::uint32_t> sources(sourceCount());
        std::iota(sources.begin(), sources.end(), 0U);
        return sources;
    }
    std::vector<std::int64_t> keys = sortKeys(column);
    Q_ASSERT(keys.size() == sourceCount());
    return keyOrder(std::move(keys), order);
}

void SortedRowsModel::bindHeader(QHeaderView& header) {
    header.setSortIndicatorShown(true);
    header.setSectionsClickable(true);
    if (m_sortColumn >= 0) {
        header.setSortIndicator(m_sortColumn, m_sortOrder);
    } else {
        header.setSortIndicator(-1, Qt::AscendingOrder);
    }
    connect(&header, &QHeaderView::sortIndicatorChanged, this,
            [this, &header](int column, Qt::SortOrder order) {
                if (isSortable(column)) {
                    sort(column, order);
                    return;
                }
                const QSignalBlocker blocker(header);
                header.setSortIndicator(m_sortColumn, m_sortOrder);
            });
}

} // namespace dorvale
