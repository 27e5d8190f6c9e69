#include "cleanup/RefreshButton.hpp"

#include "widgets/IconButton.hpp"

#include <QCoreApplication>

namespace dorvale {

IconButton* makeRefreshButton() {
    const QString title = QCoreApplication::translate("RefreshButton", "Refresh");
    auto* button = new IconButton(QStringLiteral("arrow.clockwise"), title);
    button->setObjectName(QStringLiteral("refreshButton"));
    button->setLabel(title);
    return button;
}

} // namespace dorvale
