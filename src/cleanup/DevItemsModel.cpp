#include "cleanup/DevItemsModel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "cleanup/TextRanks.hpp"
#include "platform/Formatters.hpp"
#include "style/FileIcon.hpp"
#include "widgets/ListRoles.hpp"

namespace dorvale {

namespace {

std::vector<SortedRowsModel::Column> columns() {
    return {
        {DevItemsModel::tr("Item")},
        {DevItemsModel::tr("What It Is")},
        {DevItemsModel::tr("Size"), true, Qt::AlignRight | Qt::AlignVCenter},
        {DevItemsModel::tr("Project Last Modified")},
    };
}

} // namespace

DevItemsModel::DevItemsModel(Locations locations, const Clock& clock, QObject* parent)
    : KeyedRowsModel(columns(), parent)
    , m_locations(std::move(locations))
    , m_clock(clock) {
    SortedRowsModel::sort(Size, Qt::DescendingOrder);
}

void DevItemsModel::setItems(std::vector<DevItem> items) {
    m_icons.assign(items.size(), std::nullopt);
    setRows(std::move(items));
}

std::vector<std::int64_t> DevItemsModel::sortKeys(int column) const {
    std::vector<std::int64_t> keys;
    switch (column) {
    case Item:
        return textRanks(rows(), &DevItem::title);
    case WhatItIs:
        return textRanks(rows(), &DevItem::detail);
    case Size:
        for (const DevItem& item : rows()) {
            keys.push_back(item.size);
        }
        return keys;
    case LastTouched:
        for (const DevItem& item : rows()) {
            keys.push_back(static_cast<std::int64_t>(item.lastTouched * 1000));
        }
        return keys;
    default:
        return std::vector<std::int64_t>(rows().size());
    }
}

QVariant DevItemsModel::cellData(std::size_t source, int column, int role) const {
    const DevItem& item = this->source(source);
    if (column == Item) {
        return itemData(item, source, role);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (column) {
    case WhatItIs:
        // Shown as written: its backquotes are no markup.
        return QString::fromStdString(item.detail);
    case Size:
        return byteText(item.size);
    case LastTouched:
        return QString::fromStdString(relativeText(item.lastTouched, m_clock));
    default:
        return {};
    }
}

QVariant DevItemsModel::itemData(const DevItem& item, std::size_t source, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return pathText(item.title);
    case DetailRole:
        return shownPath(item.path, m_locations);
    case Qt::DecorationRole: {
        std::optional<QIcon>& icon = m_icons[source];
        if (!icon) {
            icon = FileIcon::icon(item.path);
        }
        return *icon;
    }
    default:
        return {};
    }
}

} // namespace dorvale
