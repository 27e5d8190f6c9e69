#include "widgets/SectionedListModel.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace dorvale {

namespace {

// A header's internal id is 0; an entry's is its section plus one; a sub-entry's has the top
// bit set, its section in the bits above 32 and its entry in those below.
static_assert(sizeof(quintptr) == sizeof(std::uint64_t), "sub-entry ids need 64 bits");
constexpr quintptr headerId = 0;
constexpr quintptr subEntryFlag = quintptr{1} << 63;
constexpr int sectionShift = 32;
constexpr quintptr entryMask = (quintptr{1} << sectionShift) - 1;

quintptr subEntryId(int section, int entry) {
    return subEntryFlag | (static_cast<quintptr>(section) << sectionShift) |
           static_cast<quintptr>(entry);
}

} // namespace

void SectionedListModel::setSections(std::vector<Section> sections) {
    beginResetModel();
    m_sections = std::move(sections);
    m_made.assign(m_sections.size(), m_sectionsOpen);
    m_subMade.clear();
    endResetModel();
}

void SectionedListModel::keepSectionsOpen() {
    m_sectionsOpen = true;
    for (int section = 0; section < static_cast<int>(m_sections.size()); ++section) {
        makeEntries(section);
    }
}

QModelIndex SectionedListModel::sectionIndex(int section) const {
    return index(section, 0);
}

QModelIndex SectionedListModel::entryIndex(int section, int entry) const {
    return entry < std::min(maxShown, shownRows(section)) ? index(entry, 0, sectionIndex(section))
                                                          : QModelIndex();
}

QModelIndex SectionedListModel::subEntryIndex(int section, int entry, int subEntry) const {
    return subEntry < std::min(maxShown, shownSubRows(section, entry))
               ? index(subEntry, 0, entryIndex(section, entry))
               : QModelIndex();
}

int SectionedListModel::sectionOf(const QModelIndex& index) {
    if (isHeader(index)) {
        return index.row();
    }
    if (isSubEntry(index)) {
        return static_cast<int>((index.internalId() & ~subEntryFlag) >> sectionShift);
    }
    return static_cast<int>(index.internalId()) - 1;
}

int SectionedListModel::entryOf(const QModelIndex& index) {
    if (!index.isValid() || isHeader(index)) {
        return -1;
    }
    return isSubEntry(index) ? static_cast<int>(index.internalId() & entryMask) : index.row();
}

bool SectionedListModel::isHeader(const QModelIndex& index) {
    return index.isValid() && index.internalId() == headerId;
}

bool SectionedListModel::isSubEntry(const QModelIndex& index) {
    return index.isValid() && (index.internalId() & subEntryFlag) != 0;
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
    if (isHeader(parent)) {
        return row < shownRows(parent.row())
                   ? createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1)
                   : QModelIndex();
    }
    if (isSubEntry(parent) || row >= shownSubRows(sectionOf(parent), parent.row())) {
        return {};
    }
    return createIndex(row, 0, subEntryId(sectionOf(parent), parent.row()));
}

QModelIndex SectionedListModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || isHeader(child)) {
        return {};
    }
    const int section = sectionOf(child);
    if (isSubEntry(child)) {
        return createIndex(entryOf(child), 0, static_cast<quintptr>(section) + 1);
    }
    return createIndex(section, 0, headerId);
}

bool SectionedListModel::hasSection(int section) const {
    return section >= 0 && section < static_cast<int>(m_sections.size());
}

int SectionedListModel::shownRows(int section) const {
    if (!hasSection(section) || !m_made[static_cast<std::size_t>(section)]) {
        return 0;
    }
    return rowsOfEntries(m_sections[static_cast<std::size_t>(section)].entries);
}

int SectionedListModel::shownSubRows(int section, int entry) const {
    if (!m_subMade.contains({section, entry})) {
        return 0;
    }
    return rowsOfEntries(subEntryCount(section, entry));
}

// The shown entries and, past the cap, the row that counts the others.
int SectionedListModel::rowsOfEntries(std::size_t entries) {
    return entries > static_cast<std::size_t>(maxShown) ? maxShown + 1 : static_cast<int>(entries);
}

int SectionedListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(m_sections.size());
    }
    if (isHeader(parent)) {
        return shownRows(parent.row());
    }
    return isSubEntry(parent) ? 0 : shownSubRows(sectionOf(parent), parent.row());
}

int SectionedListModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool SectionedListModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return !m_sections.empty();
    }
    if (isHeader(parent)) {
        return m_sections[static_cast<std::size_t>(parent.row())].entries > 0;
    }
    return !isSubEntry(parent) && !isMoreRow(parent) &&
           subEntryCount(sectionOf(parent), parent.row()) > 0;
}

void SectionedListModel::makeEntries(int section) {
    if (!hasSection(section) || m_made[static_cast<std::size_t>(section)]) {
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

void SectionedListModel::makeSubEntries(int section, int entry) {
    const QModelIndex parent = entryIndex(section, entry);
    if (!parent.isValid() || m_subMade.contains({section, entry})) {
        return;
    }
    const int rows = rowsOfEntries(subEntryCount(section, entry));
    if (rows == 0) {
        m_subMade.insert({section, entry});
        return;
    }
    beginInsertRows(parent, 0, rows - 1);
    m_subMade.insert({section, entry});
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
    if (isSubEntry(index)) {
        const int entry = entryOf(index);
        return isMoreRow(index) ? moreRowData(subEntryCount(section, entry), role)
                                : subEntryData(section, entry, index.row(), role);
    }
    if (isMoreRow(index)) {
        return moreRowData(m_sections[static_cast<std::size_t>(section)].entries, role);
    }
    return entryData(section, index.row(), role);
}

QVariant SectionedListModel::moreRowData(std::size_t entries, int role) const {
    const auto hidden = static_cast<qint64>(entries) - maxShown;
    return role == Qt::DisplayRole || role == Qt::AccessibleTextRole
               ? QVariant(tr("… and %1 more").arg(hidden))
               : QVariant();
}

QVariant SectionedListModel::headerData(int, int) const {
    return {};
}

Qt::ItemFlags SectionedListModel::headerFlags(int) const {
    return Qt::ItemIsEnabled;
}

Qt::ItemFlags SectionedListModel::entryFlags(int, int) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

std::size_t SectionedListModel::subEntryCount(int, int) const {
    return 0;
}

QVariant SectionedListModel::subEntryData(int, int, int, int) const {
    return {};
}

Qt::ItemFlags SectionedListModel::subEntryFlags(int, int, int) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

Qt::ItemFlags SectionedListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (isHeader(index)) {
        return headerFlags(index.row());
    }
    if (isMoreRow(index)) {
        return Qt::ItemIsEnabled;
    }
    const int section = sectionOf(index);
    return isSubEntry(index) ? subEntryFlags(section, entryOf(index), index.row())
                             : entryFlags(section, index.row());
}

} // namespace dorvale
