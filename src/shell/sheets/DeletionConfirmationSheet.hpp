#pragma once

#include "app/DeletionPlan.hpp"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeView;

namespace dorvale {

class AppState;
class DeletionPlanModel;
class DestructiveButton;
class ElidedLabel;
class WrappingLabel;

/// The sheet every interactive deletion passes: the plan grouped by risk, whether the items
/// go to the Trash or are deleted outright, the acknowledgement review items need, the
/// protected items that stay untouched, and the total that confirming frees.
///
/// The state's plan is the truth. The sheet opens for the plan that is the state's now,
/// window-modal over its parent's window through `open()`. While it is open it follows the
/// state: a new plan takes the place of the one shown (with the acknowledgement off again),
/// and once the plan is none the sheet closes. Cancel, Escape and closing the window clear
/// the plan. Delete (the Return key) hands the plan to `AppState::performDeletion`, which
/// clears it; after that first press the buttons stay disabled, so a double click or a held
/// key cannot ask twice. The notice and the delete button follow "permanentDelete" while the
/// sheet is open.
class DeletionConfirmationSheet final : public QDialog {
    Q_OBJECT

public:
    DeletionConfirmationSheet(AppState& state, DeletionPlan plan, QWidget* parent = nullptr);

    [[nodiscard]] const DeletionPlan& plan() const;
    [[nodiscard]] DeletionPlanModel* model() const { return m_model; }

public slots:
    /// Closes the sheet and clears the plan, if it is still the state's.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QTreeView* makeList();
    [[nodiscard]] QWidget* makeAcknowledgement();
    [[nodiscard]] QWidget* makeProtectedNotice();
    [[nodiscard]] QWidget* makeFooter();
    void showPlan(DeletionPlan plan);
    void followPlan();
    void showRemovalMode();
    void setReviewAccepted(bool accepted);
    void showTotal();
    void confirm();

    AppState& m_state;
    DeletionPlanModel* m_model;
    ElidedLabel* m_title = nullptr;
    WrappingLabel* m_notice = nullptr;
    QTreeView* m_list = nullptr;
    QWidget* m_acknowledgement = nullptr;
    QCheckBox* m_acknowledgeBox = nullptr;
    QLabel* m_acknowledgeText = nullptr;
    QWidget* m_protectedNotice = nullptr;
    WrappingLabel* m_protectedText = nullptr;
    ElidedLabel* m_total = nullptr;
    QPushButton* m_cancel = nullptr;
    DestructiveButton* m_delete = nullptr;
    bool m_confirmed = false;
};

} // namespace dorvale
