#pragma once

#include "cleanup/JunkSelection.hpp"
#include "model/JunkFinding.hpp"
#include "model/JunkGroup.hpp"
#include "platform/Locations.hpp"
#include "widgets/SectionedListModel.hpp"

#include <QIcon>

#include <string>
#include <unordered_map>
#include <vector>

namespace dorvale {

/// The junk screen's list: a section for each junk group that found something, in the
/// groups' fixed order; in it a row for each of the group's findings (its rule), in the
/// order of the junk; below a rule, made when it opens, a row for each of its first 300
/// items and a last row counting the others.
///
/// Rules and items are ticked through `Qt::CheckStateRole`. A rule's checkbox has two
/// states, computed from how many of its items are ticked: on only when all are; a partly
/// ticked rule shows it off and dimmed (`DimmedRole`), and ticking it then ticks them all.
/// The ticked items are the model's `JunkSelection`; the model reads the junk it is given,
/// which must stay as it is until the next `setJunk`.
class JunkModel : public SectionedListModel {
    Q_OBJECT

public:
    enum Role : int {
        /// The name of the group's symbol drawing, on a header.
        SymbolRole = Qt::UserRole + 200,
        /// Whether a rule's checkbox is dimmed: some but not all of its items are ticked.
        DimmedRole,
        /// How a rule removes its items: "Moved to Trash" or "Deleted immediately".
        RemovalRole,
        /// A rule's explanation.
        ExplanationRole,
        /// "<n> items", on a rule.
        CountTextRole,
        /// A rule's total or an item's size, formatted.
        SizeTextRole,
        /// An item's modification date, formatted; nothing when it has none.
        DateTextRole,
        /// The rule's id on a rule row, the item's id on an item row (both `QByteArray`).
        KeyRole,
    };

    explicit JunkModel(Locations locations, QObject* parent = nullptr);

    /// Shows `junk` (findings a deletion emptied are left out) in one reset; every rule
    /// closed. The ticked ids stay.
    void setJunk(const std::vector<JunkFinding>& junk);

    [[nodiscard]] JunkSelection& selection() { return m_selection; }
    [[nodiscard]] const JunkSelection& selection() const { return m_selection; }
    /// Unticks everything.
    void clearSelection();
    /// Drops the ticked ids that match no current item.
    void pruneSelection();

    /// The row of the rule `ruleId`, invalid when no shown finding is of it.
    [[nodiscard]] QModelIndex ruleIndex(const std::string& ruleId) const;
    /// The finding of a rule row or of an item row.
    [[nodiscard]] const JunkFinding* findingAt(const QModelIndex& index) const;
    /// The item of an item row; null for any other row.
    [[nodiscard]] const JunkItem* itemAt(const QModelIndex& index) const;
    [[nodiscard]] static bool isRule(const QModelIndex& index);
    [[nodiscard]] bool isItem(const QModelIndex& index) const;

    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    /// The ticked items changed.
    void selectionChanged();

protected:
    [[nodiscard]] QVariant headerData(int section, int role) const override;
    [[nodiscard]] Qt::ItemFlags headerFlags(int section) const override;
    [[nodiscard]] QVariant entryData(int section, int entry, int role) const override;
    [[nodiscard]] Qt::ItemFlags entryFlags(int section, int entry) const override;
    [[nodiscard]] std::size_t subEntryCount(int section, int entry) const override;
    [[nodiscard]] QVariant subEntryData(int section, int entry, int subEntry,
                                        int role) const override;
    [[nodiscard]] Qt::ItemFlags subEntryFlags(int section, int entry, int subEntry) const override;

private:
    struct Group {
        JunkGroup group;
        /// Positions in the junk.
        std::vector<std::size_t> findings;
    };

    [[nodiscard]] std::size_t positionOf(int section, int entry) const;
    [[nodiscard]] const JunkFinding& findingOf(int section, int entry) const;
    [[nodiscard]] QIcon itemIcon(const std::string& path) const;
    /// Announces new check states of rows of the rule at (`section`, `entry`): its own, and
    /// those of its shown items.
    void ruleTicksChanged(int section, int entry);
    void everyTickChanged();

    Locations m_locations;
    const std::vector<JunkFinding>* m_junk = nullptr;
    std::vector<Group> m_groups;
    JunkSelection m_selection;
    mutable std::unordered_map<std::string, QIcon> m_icons;
};

} // namespace dorvale
