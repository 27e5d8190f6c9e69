#include "shell/DeletionSheetFactory.hpp"

#include "app/AppState.hpp"
#include "shell/ElidedLabel.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace dorvale {

// Until the confirmation sheet joins the program, the plan shows its title and can only be
// cancelled: nothing is deleted from here.
QDialog* makeDeletionSheet(AppState&, const DeletionPlan& plan, QWidget* window) {
    auto* sheet = new QDialog(window);
    sheet->setObjectName(QStringLiteral("deletionSheet"));
    sheet->setWindowTitle(plan.title);
    auto* title = new ElidedLabel(plan.title);
    title->setObjectName(QStringLiteral("deletionSheetTitle"));
    title->setTextStyle(TextStyle::Headline);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::rejected, sheet, &QDialog::reject);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(title);
    layout->addWidget(buttons);
    sheet->setMinimumWidth(420);
    return sheet;
}

} // namespace dorvale
