#pragma once

class QDialog;
class QWidget;

namespace dorvale {

class AppState;
struct DeletionPlan;

/// Makes the sheet that asks the user to confirm `plan`, parented to `window`. The window
/// opens it while the plan is the state's plan and clears the plan when it closes; the sheet
/// confirms through `AppState`, which clears the plan and so closes it.
[[nodiscard]] QDialog* makeDeletionSheet(AppState& state, const DeletionPlan& plan,
                                         QWidget* window);

} // namespace dorvale
