#include "cleanup/LeftoversModel.hpp"

#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "cleanup/TextRanks.hpp"
#include "platform/Formatters.hpp"
#include "style/FileIcon.hpp"

namespace dorvale {

namespace {

std::vector<SortedRowsModel::Column> columns() {
    return {
        {LeftoversModel::tr("Identifier")},
        {LeftoversModel::tr("Location")},
        {LeftoversModel::tr("Size"), true, Qt::AlignRight | Qt::AlignVCenter},
        {LeftoversModel::tr("Modified"), false},
    };
}

} // namespace

LeftoversModel::LeftoversModel(QObject* parent)
    : KeyedRowsModel(columns(), parent) {
    SortedRowsModel::sort(Size, Qt::DescendingOrder);
}

void LeftoversModel::setLeftovers(std::vector<Leftover> leftovers) {
    m_icons.assign(leftovers.size(), std::nullopt);
    setRows(std::move(leftovers));
}

std::vector<std::int64_t> LeftoversModel::sortKeys(int column) const {
    switch (column) {
    case Identifier:
        return textRanks(rows(), &Leftover::identifier);
    case Location:
        return textRanks(rows(), &Leftover::location);
    case Size: {
        std::vector<std::int64_t> keys;
        keys.reserve(rows().size());
        for (const Leftover& leftover : rows()) {
            keys.push_back(leftover.size);
        }
        return keys;
    }
    default:
        return std::vector<std::int64_t>(rows().size());
    }
}

QVariant LeftoversModel::cellData(std::size_t source, int column, int role) const {
    const Leftover& leftover = this->source(source);
    if (column == Identifier && role == Qt::DecorationRole) {
        std::optional<QIcon>& icon = m_icons[source];
        if (!icon) {
            icon = FileIcon::icon(leftover.path);
        }
        return *icon;
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (column) {
    case Identifier:
        return pathText(leftover.identifier);
    case Location:
        return QString::fromStdString(leftover.location);
    case Size:
        return byteText(leftover.size);
    case Modified:
        return QString::fromStdString(shortDateText(leftover.modified.value_or(0)));
    default:
        return {};
    }
}

} // namespace dorvale
