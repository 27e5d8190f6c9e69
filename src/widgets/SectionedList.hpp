#pragma once

#include <QTreeView>

namespace dorvale {

/// The view of a `SectionedListModel` as a source list: no column header and no branch
/// marks; headers in small secondary type at the foot of their room; entries with their
/// symbol (`Qt::DecorationRole`) and their title, elided, on a rounded highlight when
/// selected or under the pointer. Expanding a section makes its entries.
class SectionedList : public QTreeView {
    Q_OBJECT

public:
    static constexpr int iconSize = 16;

    explicit SectionedList(QWidget* parent = nullptr);

    /// Expands every section.
    void expandSections();
};

} // namespace dorvale
