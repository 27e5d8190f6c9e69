#include "cleanup/HistoryModel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "model/MatchingPath.hpp"
#include "platform/Formatters.hpp"
#include "platform/Paths.hpp"
#include "style/Theme.hpp"
#include "widgets/ListRoles.hpp"

#include <QColor>

#include <sys/stat.h>

namespace dorvale {

namespace {

// Whether anything, a dangling link included, stands at `path`.
bool somethingAt(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::vector<SortedRowsModel::Column> columns() {
    const auto trailing = Qt::AlignRight | Qt::AlignVCenter;
    return {{HistoryModel::tr("Date"), false},
            {HistoryModel::tr("Item"), false},
            {HistoryModel::tr("Size"), false, trailing},
            {HistoryModel::tr("Method"), false},
            {QString(), false}};
}

} // namespace

HistoryModel::HistoryModel(const Locations& locations, QObject* parent)
    : KeyedRowsModel(columns(), parent)
    , m_locations(locations) {}

bool HistoryModel::canRestore(const HistoryEntry& entry) {
    return !entry.restored && entry.trashPath && somethingAt(*entry.trashPath) &&
           !somethingAt(entry.originalPath);
}

std::string HistoryModel::keyFor(const HistoryEntry& entry) {
    return {entry.id.bytes.begin(), entry.id.bytes.end()};
}

std::vector<std::int64_t> HistoryModel::sortKeys(int) const {
    return {};
}

QVariant HistoryModel::cellData(std::size_t source, int column, int role) const {
    const HistoryEntry& entry = this->source(source);
    switch (column) {
    case Date:
        return role == Qt::DisplayRole
                   ? QVariant(QString::fromStdString(shortDateTimeText(entry.date)))
                   : QVariant();
    case Item:
        return itemData(entry, role);
    case Size:
        return role == Qt::DisplayRole ? QVariant(byteText(entry.size)) : QVariant();
    case Method:
        return methodData(entry, role);
    case Restore:
        return (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) && canRestore(entry)
                   ? QVariant(tr("Restore"))
                   : QVariant();
    default:
        return {};
    }
}

QVariant HistoryModel::itemData(const HistoryEntry& entry, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return pathText(lastComponent(entry.originalPath));
    case DetailRole:
        return shownPath(entry.originalPath, m_locations);
    case Qt::ToolTipRole:
        return pathText(
            MatchingPath::ofRealPath(entry.originalPath, m_locations.dataVolume).text());
    case Qt::AccessibleTextRole:
        return shownPath(entry.originalPath, m_locations);
    default:
        return {};
    }
}

QVariant HistoryModel::methodData(const HistoryEntry& entry, int role) {
    switch (role) {
    case Qt::DisplayRole:
        if (entry.restored) {
            return tr("Restored");
        }
        return entry.trashPath ? tr("Trash") : tr("Deleted");
    case Qt::ForegroundRole:
        return entry.restored ? QVariant(Theme::safe()) : QVariant();
    default:
        return {};
    }
}

} // namespace dorvale
