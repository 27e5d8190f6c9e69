#include "shell/sheets/DeletionSheetFactory.hpp"

#include "shell/sheets/DeletionConfirmationSheet.hpp"

namespace dorvale {

QDialog* makeDeletionSheet(AppState& state, const DeletionPlan& plan, QWidget* window) {
    return new DeletionConfirmationSheet(state, plan, window);
}

} // namespace dorvale
