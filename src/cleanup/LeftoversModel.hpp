#pragma once

#include "inventory/Leftover.hpp"
#include "widgets/KeyedRowsModel.hpp"

#include <QIcon>

#include <optional>
#include <string>
#include <vector>

namespace dorvale {

/// The rows of the leftovers page, keyed by path, at first by size, largest first.
/// Identifiers and locations sort in the language's order; "Modified" does not sort.
class LeftoversModel : public KeyedRowsModel<Leftover, std::string> {
    Q_OBJECT

public:
    enum Column : int {
        Identifier,
        Location,
        Size,
        Modified,
    };

    explicit LeftoversModel(QObject* parent = nullptr);

    void setLeftovers(std::vector<Leftover> leftovers);

protected:
    [[nodiscard]] std::string keyOf(const Leftover& row) const override { return row.path; }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    // Made for a row when it is first drawn: an item's icon may look at the disk.
    mutable std::vector<std::optional<QIcon>> m_icons;
};

} // namespace dorvale
