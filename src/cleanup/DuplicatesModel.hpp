#pragma once

#include "model/DuplicateGroup.hpp"
#include "model/ScanResult.hpp"
#include "platform/Locations.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/SectionedListModel.hpp"

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

namespace dorvale {

/// The duplicate groups of one scan as a sectioned list: one section per group, headed by
/// its count and the size of one copy, with its files as entries in group order. Every file
/// has a check box, and the ticked files are the model's own selection, kept as node
/// identities: a node that is no longer listed stays in the set but counts nowhere. Deleted
/// files are left out, and so is a group with fewer than two left. Keeps the scan whose
/// nodes the groups name.
class DuplicatesModel : public SectionedListModel {
    Q_OBJECT

public:
    enum Role : int {
        /// Whether the entry is its group's first file, the copy to keep (`bool`).
        SuggestedRole = DetailRole + 200,
        /// The entry's modification date as text.
        DateRole,
    };

    explicit DuplicatesModel(const Locations& locations, QObject* parent = nullptr);

    /// Shows the live files of `groups`, nodes of `scan`, with every section's entries made.
    void setGroups(std::shared_ptr<const ScanResult> scan,
                   const std::vector<DuplicateGroup>& groups);
    [[nodiscard]] const std::vector<DuplicateGroup>& groups() const { return m_groups; }
    /// The file of an entry row; null for a header or the row that counts the others.
    [[nodiscard]] const FileNode* fileAt(const QModelIndex& index) const;

    /// Bytes freed by keeping one copy of each shown group.
    [[nodiscard]] std::int64_t recoverable() const;
    /// The ticked files that are listed, group by group in file order.
    [[nodiscard]] std::vector<const FileNode*> selectedFiles() const;
    /// Whether some group has every one of its files ticked.
    [[nodiscard]] bool selectionTakesAWholeGroup() const;
    [[nodiscard]] const std::unordered_set<const FileNode*>& selected() const { return m_selected; }
    void setSelected(std::unordered_set<const FileNode*> selected);
    /// Ticks every file but the first of each group, and nothing else.
    void selectAllCopies();

    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    /// The ticked files changed.
    void selectionChanged();

protected:
    [[nodiscard]] QVariant entryData(int section, int entry, int role) const override;
    [[nodiscard]] Qt::ItemFlags headerFlags(int section) const override;

private:
    void announceChecks();

    const Locations& m_locations;
    std::shared_ptr<const ScanResult> m_scan;
    std::vector<DuplicateGroup> m_groups;
    std::unordered_set<const FileNode*> m_selected;
};

} // namespace dorvale
