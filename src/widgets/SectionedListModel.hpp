#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <cstddef>
#include <vector>

namespace dorvale {

/// A list in sections: each section is a header row that cannot be selected, with its
/// entries as children. A section's entries are made only once its header is expanded (a
/// `SectionedList` calls `makeEntries`), and at most `maxShown` of them: past that, one last
/// row says how many more there are.
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

    [[nodiscard]] QModelIndex sectionIndex(int section) const;
    /// The index of `entry` of `section`, invalid while the section is not expanded or the
    /// entry is past the shown ones.
    [[nodiscard]] QModelIndex entryIndex(int section, int entry) const;
    /// The section of a header or of an entry.
    [[nodiscard]] static int sectionOf(const QModelIndex& index);
    [[nodiscard]] static bool isHeader(const QModelIndex& index);
    /// Whether `index` is the last row that counts the entries not shown.
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

private:
    [[nodiscard]] int shownRows(int section) const;
    [[nodiscard]] int rowsOfEntries(std::size_t entries) const;

    std::vector<Section> m_sections;
    std::vector<bool> m_made;
};

} // namespace dorvale
