#pragma once

#include "model/HistoryEntry.hpp"
#include "widgets/KeySelection.hpp"

#include <QWidget>

#include <string>

class QPushButton;
class QTableView;

namespace dorvale {

class AppState;
class FailuresCard;
class HistoryModel;

/// The history page: every deletion the history holds, newest first, with its date, item,
/// size and how it went, and a "Restore" button on each entry whose item still lies in the
/// Trash while its original place is free; above them what the last deletion could not
/// remove. "Clear History" forgets every entry and leaves the Trash as it is. The history
/// changes only through the state, and the page follows it.
class HistoryView : public QWidget {
    Q_OBJECT

public:
    explicit HistoryView(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] HistoryModel& model() const { return *m_model; }
    [[nodiscard]] QTableView& table() const { return *m_table; }

public slots:
    /// Moves the item of the entry shown at `row` back to its original place, without a
    /// message either way.
    void restoreRow(int row);

private:
    using Selection = KeySelection<HistoryEntry, std::string>;

    [[nodiscard]] QTableView* makeTable();
    void refresh();

    AppState& m_state;
    HistoryModel* m_model;
    QPushButton* m_clear;
    FailuresCard* m_failures;
    QTableView* m_table;
    // Owned by the table's selection model.
    Selection* m_selection;
};

} // namespace dorvale
