#include "shell/sheets/DeletionPlanModel.hpp"

#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "app/PathText.hpp"
#include "platform/SaturatingSum.hpp"
#include "style/FileIcon.hpp"
#include "widgets/RiskBadge.hpp"

#include <algorithm>
#include <utility>

namespace dorvale {

namespace {

constexpr qreal dimmedOpacity = 0.55;

} // namespace

DeletionPlanModel::DeletionPlanModel(Locations locations, QObject* parent)
    : QAbstractListModel(parent)
    , m_locations(std::move(locations)) {}

void DeletionPlanModel::setPlan(DeletionPlan plan) {
    beginResetModel();
    m_plan = std::move(plan);
    m_reviewAccepted = false;
    buildRows();
    endResetModel();
}

void DeletionPlanModel::setReviewAccepted(bool accepted) {
    m_reviewAccepted = accepted;
    const auto first = std::find_if(m_rows.begin(), m_rows.end(),
                                    [](const Row& row) { return row.risk == Risk::Review; });
    if (first == m_rows.end()) {
        return;
    }
    const auto firstRow = static_cast<int>(first - m_rows.begin());
    const auto lastRow = firstRow + static_cast<int>(count(Risk::Review));
    emit dataChanged(index(firstRow), index(lastRow), {OpacityRole});
}

std::int64_t DeletionPlanModel::count(Risk risk) const {
    return group(risk).count;
}

std::int64_t DeletionPlanModel::size(Risk risk) const {
    return group(risk).size;
}

std::int64_t DeletionPlanModel::total() const {
    return m_reviewAccepted ? saturatingSum(size(Risk::Safe), size(Risk::Review))
                            : size(Risk::Safe);
}

bool DeletionPlanModel::hasDeletableItems() const {
    return count(Risk::Safe) > 0 || (m_reviewAccepted && count(Risk::Review) > 0);
}

int DeletionPlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant DeletionPlanModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const Row& shown = m_rows[row];
    switch (role) {
    case IsHeaderRole:
        return shown.item == noItem;
    case RiskRole:
        return rawValue(shown.risk);
    case OpacityRole:
        return shown.item == noItem ? 1.0 : opacity(shown.risk);
    default:
        return shown.item == noItem ? headerData(shown.risk, role)
                                    : itemData(row, m_plan.items[shown.item], role);
    }
}

Qt::ItemFlags DeletionPlanModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

const DeletionPlanModel::Group& DeletionPlanModel::group(Risk risk) const {
    return m_groups[static_cast<std::size_t>(rawValue(risk))];
}

QVariant DeletionPlanModel::headerData(Risk risk, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return RiskBadge::riskTitle(risk);
    case DetailRole:
        return tr("%1 · %2").arg(countText(count(risk)), byteText(size(risk)));
    case Qt::AccessibleTextRole:
        return tr("%1: %2 · %3")
            .arg(RiskBadge::riskTitle(risk), countText(count(risk)), byteText(size(risk)));
    default:
        return {};
    }
}

QVariant DeletionPlanModel::itemData(std::size_t row, const PlanItem& item, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return pathText(item.name);
    case ReasonRole:
        return QString::fromStdString(item.verdict.reason);
    case PathRole:
    case Qt::ToolTipRole:
        return shownPath(item.path, m_locations);
    case DetailRole:
        return byteText(item.size);
    case Qt::DecorationRole:
        return icon(row, item);
    case Qt::AccessibleTextRole:
        return tr("%1, %2, %3, %4")
            .arg(data(index(static_cast<int>(row)), Qt::DisplayRole).toString(),
                 QString::fromStdString(item.verdict.reason),
                 data(index(static_cast<int>(row)), PathRole).toString(), byteText(item.size));
    default:
        return {};
    }
}

qreal DeletionPlanModel::opacity(Risk risk) const {
    switch (risk) {
    case Risk::Safe:
        return 1;
    case Risk::Review:
        return m_reviewAccepted ? 1 : dimmedOpacity;
    case Risk::Protected:
        return dimmedOpacity;
    }
    return 1;
}

const QIcon& DeletionPlanModel::icon(std::size_t row, const PlanItem& item) const {
    QIcon& icon = m_icons[row];
    if (icon.isNull()) {
        icon = FileIcon::icon(item.path);
    }
    return icon;
}

void DeletionPlanModel::buildRows() {
    m_rows.clear();
    m_groups = {};
    for (const Risk risk : allRisks) {
        Group& counted = m_groups[static_cast<std::size_t>(rawValue(risk))];
        for (std::size_t item = 0; item < m_plan.items.size(); ++item) {
            const PlanItem& planned = m_plan.items[item];
            if (planned.verdict.risk != risk) {
                continue;
            }
            if (counted.count == 0) {
                m_rows.push_back({risk, noItem});
            }
            m_rows.push_back({risk, item});
            ++counted.count;
            counted.size = saturatingSum(counted.size, std::max<std::int64_t>(planned.size, 0));
        }
    }
    m_icons.assign(m_rows.size(), QIcon());
}

} // namespace dorvale
