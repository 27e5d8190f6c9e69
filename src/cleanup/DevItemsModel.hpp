#pragma once

#include "inventory/DevItem.hpp"
#include "platform/Locations.hpp"
#include "widgets/KeyedRowsModel.hpp"

#include <QIcon>

#include <optional>
#include <string>
#include <vector>

namespace dorvale {

class Clock;

/// The rows of the developer page, keyed by path, at first by size, largest first. Titles
/// and explanations sort in the language's order.
class DevItemsModel : public KeyedRowsModel<DevItem, std::string> {
    Q_OBJECT

public:
    enum Column : int {
        Item,
        WhatItIs,
        Size,
        LastTouched,
    };

    DevItemsModel(Locations locations, const Clock& clock, QObject* parent = nullptr);

    void setItems(std::vector<DevItem> items);

protected:
    [[nodiscard]] std::string keyOf(const DevItem& row) const override { return row.path; }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] QVariant itemData(const DevItem& item, std::size_t source, int role) const;

    Locations m_locations;
    const Clock& m_clock;
    // Made for a row when it is first drawn: an item's icon may look at the disk.
    mutable std::vector<std::optional<QIcon>> m_icons;
};

} // namespace dorvale
