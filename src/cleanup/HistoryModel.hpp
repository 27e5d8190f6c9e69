#pragma once

#include "model/HistoryEntry.hpp"
#include "platform/Locations.hpp"
#include "widgets/KeyedRowsModel.hpp"

#include <string>

namespace dorvale {

/// The rows of the history page: the deletion history's entries in their stored order,
/// newest first, keyed by their ids' bytes. Nothing sorts. Whether an entry can be restored
/// is asked of the disk each time its row is drawn, so a row shows what lies in the Trash
/// and at the original place now, and only drawn rows cost a look.
class HistoryModel : public KeyedRowsModel<HistoryEntry, std::string> {
    Q_OBJECT

public:
    enum Column : int {
        Date,
        Item,
        Size,
        Method,
        Restore,
    };

    explicit HistoryModel(const Locations& locations, QObject* parent = nullptr);

    /// Whether the entry can go back: not restored yet, its item still in the Trash, and
    /// nothing, not even a dangling link, at its original path.
    [[nodiscard]] static bool canRestore(const HistoryEntry& entry);
    /// The key of `entry`.
    [[nodiscard]] static std::string keyFor(const HistoryEntry& entry);

protected:
    [[nodiscard]] std::string keyOf(const HistoryEntry& row) const override { return keyFor(row); }
    [[nodiscard]] std::vector<std::int64_t> sortKeys(int column) const override;
    [[nodiscard]] QVariant cellData(std::size_t source, int column, int role) const override;

private:
    [[nodiscard]] QVariant itemData(const HistoryEntry& entry, int role) const;
    [[nodiscard]] static QVariant methodData(const HistoryEntry& entry, int role);

    const Locations& m_locations;
};

} // namespace dorvale
