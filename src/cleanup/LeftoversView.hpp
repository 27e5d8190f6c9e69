#pragma once

#include "cleanup/PathRecordList.hpp"
#include "inventory/Leftover.hpp"

#include <QWidget>

#include <vector>

class QStackedWidget;

namespace dorvale {

class AppState;
class IconButton;
class LeftoversModel;

/// The leftovers page: data in the home Library named after applications that are no
/// longer installed, as a sortable table whose selected rows go to the deletion
/// confirmation as "Delete App Leftovers". The search runs by itself when the page comes
/// with an empty list, and again from "Search"; while it runs, only its spinner shows.
class LeftoversView : public QWidget {
    Q_OBJECT

public:
    explicit LeftoversView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] const LeftoversModel& model() const { return *m_model; }
    [[nodiscard]] PathRecordList<Leftover>& list() { return *m_list; }
    /// Asks to move `leftovers` (in this order) to the Trash through the confirmation sheet.
    void confirmDelete(const std::vector<Leftover>& leftovers);

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeList();
    void showLoading();

    AppState& m_state;
    LeftoversModel* m_model;
    IconButton* m_search = nullptr;
    QStackedWidget* m_content = nullptr;
    PathRecordList<Leftover>* m_list = nullptr;
};

} // namespace dorvale
