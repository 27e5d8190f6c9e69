#pragma once

#include "cleanup/PathRecordList.hpp"
#include "inventory/DevItem.hpp"

#include <QWidget>

#include <vector>

namespace dorvale {

class AppState;
class DevItemsModel;
class SymbolNote;

/// The developer page: what developers' tools can rebuild, from the last scan's tree and
/// from the developer junk rules, as a sortable table whose selected rows go to the
/// deletion confirmation as "Clean Developer Artifacts", each removed in its own way. The
/// rows are found again when a scan ends, its tree loses items or the junk changes. When
/// it comes without junk findings it starts the junk search; without a scan a note says
/// what a scan would add.
class DeveloperView : public QWidget {
    Q_OBJECT

public:
    explicit DeveloperView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] const DevItemsModel& model() const { return *m_model; }
    [[nodiscard]] PathRecordList<DevItem>& list() { return *m_list; }
    /// Asks to remove `items` (in this order) through the confirmation sheet.
    void confirmDelete(const std::vector<DevItem>& items);

private:
    [[nodiscard]] QWidget* makeTable();
    void refresh();

    AppState& m_state;
    DevItemsModel* m_model;
    QWidget* m_scanNote = nullptr;
    PathRecordList<DevItem>* m_list = nullptr;
};

} // namespace dorvale
