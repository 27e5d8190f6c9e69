#include "widgets/DefaultKey.hpp"

#include <QAbstractButton>
#include <QPointer>
#include <QShortcut>

namespace dorvale {

void setDefaultKey(QWidget& page, QAbstractButton& button) {
    auto* shortcut = new QShortcut(&page);
    shortcut->setObjectName(QStringLiteral("defaultKey"));
    shortcut->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &button,
                     [target = QPointer<QAbstractButton>(&button)] {
                         if (target->isEnabled() && target->isVisible()) {
                             target->click();
                         }
                     });
}

} // namespace dorvale
