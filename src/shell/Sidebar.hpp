#pragma once

#include "app/AppSection.hpp"

#include <QModelIndex>
#include <QWidget>

namespace dorvale {

class AppState;
class SectionedList;
class SidebarModel;

/// The window's left column: the thirteen sections in their groups ("Simple", "Analyze",
/// "Apps", "Clean Up", and History on its own), with the disk footer below. The selected row
/// is always `AppState::section`: picking a row sets it, and setting it from anywhere moves
/// the selection. Picking the row already selected changes nothing.
class Sidebar : public QWidget {
    Q_OBJECT

public:
    /// The item-data role of a row's symbol name.
    static constexpr int symbolRole = Qt::UserRole + 1;
    /// The item-data role of a row's section, as its raw value.
    static constexpr int sectionRole = Qt::UserRole + 2;

    explicit Sidebar(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] SectionedList* list() const { return m_list; }
    /// The row of `section`.
    [[nodiscard]] QModelIndex row(AppSection section) const;

private:
    void selectCurrentSection();
    void rowPicked();

    AppState& m_state;
    SidebarModel* m_model;
    SectionedList* m_list;
};

} // namespace dorvale
