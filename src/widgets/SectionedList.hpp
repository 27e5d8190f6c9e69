#pragma once

#include <QTreeView>

namespace dorvale {

/// The view of a `SectionedListModel` as a source list: no column header and no branch
/// marks; headers in small secondary type at the foot of their room; entries with their
/// symbol (`Qt::DecorationRole`) and their title, elided, on a rounded highlight when
/// selected or under the pointer. Expanding a section makes its entries, and expanding an
/// entry its sub-entries.
class SectionedList : public QTreeView {
    Q_OBJECT

public:
    static constexpr int iconSize = 16;

    explicit SectionedList(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    /// Expands every section.
    void expandSections();
    /// Expands every section now and after each reset of the model, and keeps them open: a
    /// list whose sections are only headings, while its entries still open and close. A
    /// `SectionedListModel` then makes its sections' entries with each reset.
    void keepSectionsOpen();

private:
    bool m_sectionsOpen = false;
};

} // namespace dorvale
