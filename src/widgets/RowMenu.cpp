#include "widgets/RowMenu.hpp"

#include <QAbstractItemView>
#include <QMenu>

#include <utility>

namespace dorvale {

void attachRowMenu(QAbstractItemView& view, RowMenuFiller fill) {
    attachIndexMenu(view, [fill = std::move(fill)](QMenu& menu, const QModelIndex& index) {
        fill(menu, index.row());
    });
}

void attachIndexMenu(QAbstractItemView& view, IndexMenuFiller fill) {
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&view, &QWidget::customContextMenuRequested, &view,
                     [&view, fill = std::move(fill)](const QPoint& position) {
                         const QModelIndex index = view.indexAt(position);
                         if (!index.isValid()) {
                             return;
                         }
                         auto* menu = new QMenu(&view);
                         menu->setObjectName(QStringLiteral("rowMenu"));
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         fill(*menu, index);
                         if (menu->isEmpty()) {
                             delete menu;
                             return;
                         }
                         menu->popup(view.viewport()->mapToGlobal(position));
                     });
}

} // namespace dorvale
