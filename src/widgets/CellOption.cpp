#include "widgets/CellOption.hpp"

#include <QWidget>

namespace dorvale {

QStyleOptionViewItem cellOptionFor(const QWidget& widget) {
    QStyleOptionViewItem option;
    option.initFrom(&widget);
    option.font = widget.font();
    option.widget = &widget;
    return option;
}

} // namespace dorvale
