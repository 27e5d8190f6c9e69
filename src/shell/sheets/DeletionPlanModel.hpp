#pragma once

#include "app/DeletionPlan.hpp"
#include "model/Risk.hpp"
#include "platform/Locations.hpp"

#include <QAbstractListModel>
#include <QIcon>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dorvale {

/// The rows of the deletion confirmation sheet: the plan's items grouped by risk, safe then
/// review then protected, each group opened by a header row that carries the group's count
/// and size. A group without items has no header; items keep the plan's order within their
/// group. Protected rows are always dimmed, review rows until the user acknowledges them.
///
/// Plans can be long, so texts are made only for the rows a view asks for, and each row's
/// icon is looked up once, on its first paint.
class DeletionPlanModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        /// bool: the row opens a group.
        IsHeaderRole = Qt::UserRole + 1,
        /// int: the raw value of the row's risk.
        RiskRole,
        /// Item rows: the verdict's reason.
        ReasonRole,
        /// Item rows: the path as shown to the user.
        PathRole,
        /// Item rows: the formatted size; header rows: the count, " · " and the group's size.
        DetailRole,
        /// qreal: how opaque the row is drawn; header rows are drawn in full.
        OpacityRole,
    };

    /// Paths are shown relative to `locations`' home folder and data volume.
    explicit DeletionPlanModel(Locations locations, QObject* parent = nullptr);

    /// Shows `plan`, with the review items not acknowledged.
    void setPlan(DeletionPlan plan);
    [[nodiscard]] const DeletionPlan& plan() const { return m_plan; }
    /// Whether the review items are to be deleted too; redraws their rows.
    void setReviewAccepted(bool accepted);
    [[nodiscard]] bool reviewAccepted() const { return m_reviewAccepted; }

    /// How many items of the plan have `risk`.
    [[nodiscard]] std::int64_t count(Risk risk) const;
    /// The bytes of the items of `risk`; a negative size counts as none.
    [[nodiscard]] std::int64_t size(Risk risk) const;
    /// What confirming deletes: the safe items, and the review items once acknowledged.
    [[nodiscard]] std::int64_t total() const;
    /// Whether confirming would delete anything.
    [[nodiscard]] bool hasDeletableItems() const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // A header row has no item.
    static constexpr std::size_t noItem = static_cast<std::size_t>(-1);

    struct Row {
        Risk risk;
        std::size_t item;
    };
    struct Group {
        std::int64_t count = 0;
        std::int64_t size = 0;
    };

    [[nodiscard]] const Group& group(Risk risk) const;
    [[nodiscard]] QVariant headerData(Risk risk, int role) const;
    [[nodiscard]] QVariant itemData(std::size_t row, const PlanItem& item, int role) const;
    [[nodiscard]] qreal opacity(Risk risk) const;
    [[nodiscard]] const QIcon& icon(std::size_t row, const PlanItem& item) const;
    void buildRows();

    Locations m_locations;
    DeletionPlan m_plan;
    bool m_reviewAccepted = false;
    std::vector<Row> m_rows;
    std::array<Group, allRisks.size()> m_groups{};
    // Filled on first paint; a null icon has not been looked up yet.
    mutable std::vector<QIcon> m_icons;
};

} // namespace dorvale
