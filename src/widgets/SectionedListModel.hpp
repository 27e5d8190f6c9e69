#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <cstddef>
#include <set>
#include <utility>
#include <vector>

namespace dorvale {

/// A list in sections: each section is a header row that cannot be selected, with its
/// entries as children. A section's entries are made only once its header is expanded (a
/// `SectionedList` calls `makeEntries`), and at most `maxShown` of them: past that, one last
/// row says how many more there are.
///
/// An entry may have sub-entries of its own (a subclass that gives `subEntryCount`): they
/// too are made only once their entry is expanded (`makeSubEntries`), with the same cap and
/// the same last row, so an entry of a hundred thousand sub-entries costs `maxShown` rows.
///
/// A subclass gives the sections, with their sizes, and the entries' data.
class SectionedListModel : public QAbstractItemModel {
    Q_OBJECT

public:
    static constexpr int maxShown = 300;

    struct Section {
        QString title;
        std::size_t entries = 0;
    };

    using QAbstractItemModel::QAbstractItemModel;

    /// Replaces every section in one reset; none is expanded.
    void setSections(std::vector<Section> sections);
    [[nodiscard]] const std::vector<Section>& sections() const { return m_sections; }
    /// Adds the rows of `section`'s entries, unless they are there already.
    void makeEntries(int section);
    /// Makes every section's entries now, and from now on with each reset, for a list whose
    /// sections never close: the rows are there when the view reopens the sections after
    /// a reset, so none are inserted while others still handle the reset.
    void keepSectionsOpen();
    /// Adds the rows of the sub-entries of `entry` of `section`, unless they are there
    /// already or the entry has no row yet.
    void makeSubEntries(int section, int entry);

    [[nodiscard]] QModelIndex sectionIndex(int section) const;
    /// The index of `entry` of `section`, invalid while the section is not expanded or the
    /// entry is past the shown ones.
    [[nodiscard]] QModelIndex entryIndex(int section, int entry) const;
    /// The index of sub-entry `subEntry` of `entry` of `section`, invalid while the entry is
    /// not expanded or the sub-entry is past the shown ones.
    [[nodiscard]] QModelIndex subEntryIndex(int section, int entry, int subEntry) const;
    /// The section of a header, an entry or a sub-entry.
    [[nodiscard]] static int sectionOf(const QModelIndex& index);
    /// The entry of an entry or of a sub-entry; -1 for a header.
    [[nodiscard]] static int entryOf(const QModelIndex& index);
    [[nodiscard]] static bool isHeader(const QModelIndex& index);
    [[nodiscard]] static bool isSubEntry(const QModelIndex& index);
    /// Whether `index` is the last row that counts the entries (or sub-entries) not shown.
    [[nodiscard]] bool isMoreRow(const QModelIndex& index) const;

    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex& parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex& child) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] bool hasChildren(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    /// What entry `entry` of `section` shows for `role`.
    [[nodiscard]] virtual QVariant entryData(int section, int entry, int role) const = 0;
    /// What the header of `section` shows for `role` beyond its title.
    [[nodiscard]] virtual QVariant headerData(int section, int role) const;
    /// A header can be expanded and collapsed but not selected. A list whose sections stay
    /// open disables its headers, so the arrow keys pass over them.
    [[nodiscard]] virtual Qt::ItemFlags headerFlags(int section) const;
    /// An entry can be selected.
    [[nodiscard]] virtual Qt::ItemFlags entryFlags(int section, int entry) const;
    /// How many sub-entries `entry` of `section` has; none unless a subclass says so. Like
    /// the sections, the counts change only with a reset.
    [[nodiscard]] virtual std::size_t subEntryCount(int section, int entry) const;
    /// What sub-entry `subEntry` of `entry` of `section` shows for `role`.
    [[nodiscard]] virtual QVariant subEntryData(int section, int entry, int subEntry,
                                                int role) const;
    /// A sub-entry can be selected.
    [[nodiscard]] virtual Qt::ItemFlags subEntryFlags(int section, int entry, int subEntry) const;

private:
    [[nodiscard]] bool hasSection(int section) const;
    [[nodiscard]] int shownRows(int section) const;
    [[nodiscard]] int shownSubRows(int section, int entry) const;
    [[nodiscard]] static int rowsOfEntries(std::size_t entries);
    [[nodiscard]] QVariant moreRowData(std::size_t entries, int role) const;

    std::vector<Section> m_sections;
    std::vector<bool> m_made;
    bool m_sectionsOpen = false;
    /// The (section, entry) pairs whose sub-entries have rows.
    std::set<std::pair<int, int>> m_subMade;
};

} // namespace dorvale
