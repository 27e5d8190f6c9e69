#pragma once

#include <QItemSelection>
#include <QObject>

class QItemSelectionModel;

namespace dorvale {

class SortedRowsModel;

/// Keeps a view's selection model showing a selection that is held elsewhere (as keys, in
/// `KeySelection`): after every reset and sort of the model it selects exactly the rows the
/// held selection contains, and it hands on only what the user changed in the view. Its own
/// changes to the selection model never come back as the user's.
class RowSelection : public QObject {
    Q_OBJECT

public:
    RowSelection(SortedRowsModel& model, QItemSelectionModel& selection);

    /// Selects in the view exactly the rows that `isRowSelected` says are held.
    void mirror();

signals:
    /// The held selection changed, by the user or through the owner.
    void changed();

protected:
    [[nodiscard]] virtual bool isRowSelected(int row) const = 0;
    /// The user selected (or deselected) `row` in the view.
    virtual void rowPicked(int row, bool selected) = 0;

    [[nodiscard]] const SortedRowsModel& model() const { return m_model; }

private:
    void dropShown();
    void userChanged(const QItemSelection& selected, const QItemSelection& deselected);

    SortedRowsModel& m_model;
    QItemSelectionModel& m_selection;
    bool m_mirroring = false;
};

} // namespace dorvale
