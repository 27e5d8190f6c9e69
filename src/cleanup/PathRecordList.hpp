#pragma once

#include "platform/Workspace.hpp"
#include "widgets/KeySelection.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/SelectionBar.hpp"

#include <QCoreApplication>
#include <QMenu>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dorvale {

/// The selection of a page that lists records keyed by path (leftovers, developer items) in
/// a `ListTable`, with its selection bar: the bar shows the count and bytes of the selected
/// rows that are still listed and runs the page's action on them in row order; a row menu
/// and a double click show one of the rows acted on in the file manager. Paths selected
/// whose rows have gone count nowhere.
///
/// A child of the page, so that it goes with the page's table.
template <typename Row>
class PathRecordList : public QObject {
public:
    using Model = KeyedRowsModel<Row, std::string>;
    using Selection = KeySelection<Row, std::string>;
    using Action = std::function<void(const std::vector<Row>&)>;

    /// Binds `table` (over `model`) and `bar` of the page `page`.
    PathRecordList(QObject& page, Model& model, ListTable& table, SelectionBar& bar,
                   Workspace& workspace, Action action)
        : QObject(&page)
        , m_model(model)
        , m_selection(new Selection(model, *table.selectionModel()))
        , m_bar(bar)
        , m_workspace(workspace) {
        table.setSelectionMode(QAbstractItemView::ExtendedSelection);
        QObject::connect(m_selection, &RowSelection::changed, this, [this] { update(); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, this, [this] { update(); });
        QObject::connect(&bar, &SelectionBar::clearRequested, this,
                         [this] { m_selection->clear(); });
        QObject::connect(&bar, &SelectionBar::actionRequested, this,
                         [this, action = std::move(action)] { action(selectedRows()); });
        QObject::connect(
            &table, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { reveal({m_model.keyAt(index.row())}); });
        attachRowMenu(table, [this](QMenu& menu, int row) {
            populateRowMenu(menu, m_selection->menuKeys(row));
        });
        update();
    }

    [[nodiscard]] Selection& selection() { return *m_selection; }
    /// The selected rows still listed, in row order.
    [[nodiscard]] std::vector<Row> selectedRows() const {
        std::vector<Row> rows;
        for (const std::string& key : m_selection->liveKeys()) {
            rows.push_back(m_model.rowAt(m_model.rowOf(key)));
        }
        return rows;
    }
    /// "Show in Finder" for the first of `paths`.
    void populateRowMenu(QMenu& menu, const std::vector<std::string>& paths) {
        if (paths.empty()) {
            return;
        }
        QAction* reveal =
            menu.addAction(QCoreApplication::translate("PathRecordList", "Show in Finder"));
        reveal->setObjectName(QStringLiteral("revealAction"));
        QObject::connect(reveal, &QAction::triggered, &menu,
                         [this, paths] { this->reveal(paths); });
    }
    /// Shows the first of `paths` in the file manager.
    void reveal(const std::vector<std::string>& paths) {
        if (!paths.empty()) {
            m_workspace.reveal({paths.front()});
        }
    }

private:
    void update() {
        std::int64_t size = 0;
        const std::vector<std::string> live = m_selection->liveKeys();
        for (const std::string& key : live) {
            size += m_model.rowAt(m_model.rowOf(key)).size;
        }
        m_bar.setSelection(static_cast<std::int64_t>(live.size()), size);
    }

    Model& m_model;
    // Owned by the table's selection model.
    Selection* m_selection;
    SelectionBar& m_bar;
    Workspace& m_workspace;
};

} // namespace dorvale
