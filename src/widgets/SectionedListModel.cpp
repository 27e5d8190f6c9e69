#include "widgets/SectionedListModel.hpp"

#include <algorithm>
#include <utility>

namespace dorvale {

namespace {

// A header's internal id is 0; an entry's is its section plus one.
constexpr quintptr headerId = 0;

} // namespace

void SectionedListModel::setSections(std::vector<Section> sections) {
    beginResetModel();
    m_sections = std::move(sections);
    m_made.assign(m_sections.size(), false);
    endResetModel();
}

QModelIndex SectionedListModel::sectionIndex(int section) const {
    return index(section, 0);
}

QModelIndex SectionedListModel::entryIndex(int section, int entry) const {
    return entry < std::min(maxShown, shownRows(section)) ? index(entry, 0, sectionIndex(section))
                                                          : QModelIndex();
}

int SectionedListModel::sectionOf(const QModelIndex& index) {
    return isHeader(index) ? index.row() : static_cast<int>(index.internalId()) - 1;
}

bool SectionedListModel::isHeader(const QModelIndex& index) {
    return index.isValid() && index.internalId() == headerId;
}

bool SectionedListModel::isMoreRow(const QModelIndex& index) const {
    return index.isValid() && !isHeader(index) && index.row() == maxShown;
}

QModelIndex SectionedListModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    if (!parent.isValid()) {
        return row < static_cast<int>(m_sections.size()) ? createIndex(row, 0, headerId)
                                                         : QModelIndex();
    }
    if (!isHeader(parent) || row >= shownRows(parent.row())) {
        return {};
    }
    return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex SectionedListModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || isHeader(child)) {
        return {};
    }
    return createIndex(sectionOf(child), 0, headerId);
}

int SectionedListModel::shownRows(int section) const {
    if (section < 0 || section >= static_cast<int>(m_sections.size()) ||
        !m_made[static_cast<std::size_t>(section)]) {
        return 0;
    }
    return rowsOfEntries(m_sections[static_cast<std::size_t>(section)].entries);
}

// The shown entries and, past the cap, the row that counts the others.
int SectionedListModel::rowsOfEntries(std::size_t entries) const {
    return entries > static_cast<std::size_t>(maxShown) ? maxShown + 1 : static_cast<int>(entries);
}

int SectionedListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(m_sections.size());
    }
    return isHeader(parent) ? shownRows(parent.row()) : 0;
}

int SectionedListModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool SectionedListModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return !m_sections.empty();
    }
    return isHeader(parent) && m_sections[static_cast<std::size_t>(parent.row())].entries > 0;
}

void SectionedListModel::makeEntries(int section) {
    if (section < 0 || section >= static_cast<int>(m_sections.size()) ||
        m_made[static_cast<std::size_t>(section)]) {
        return;
    }
    const int rows = rowsOfEntries(m_sections[static_cast<std::size_t>(section)].entries);
    if (rows == 0) {
        m_made[static_cast<std::size_t>(section)] = true;
        return;
    }
    beginInsertRows(sectionIndex(section), 0, rows - 1);
    m_made[static_cast<std::size_t>(section)] = true;
    endInsertRows();
}

QVariant SectionedListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int section = sectionOf(index);
    if (isHeader(index)) {
        return role == Qt::DisplayRole || role == Qt::AccessibleTextRole
                   ? QVariant(m_sections[static_cast<std::size_t>(section)].title)
                   : headerData(section, role);
    }
    if (isMoreRow(index)) {
        const auto hidden =
            static_cast<qint64>(m_sections[static_cast<std::size_t>(section)].entries) - maxShown;
        return role == Qt::DisplayRole || role == Qt::AccessibleTextRole
                   ? QVariant(tr("… and %1 more").arg(hidden))
                   : QVariant();
    }
    return entryData(section, index.row(), role);
}

QVariant SectionedListModel::headerData(int, int) const {
    return {};
}

Qt::ItemFlags SectionedListModel::headerFlags(int) const {
    return Qt::ItemIsEnabled;
}

Qt::ItemFlags SectionedListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (isHeader(index)) {
        return headerFlags(index.row());
    }
    return isMoreRow(index) ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace dorvale
