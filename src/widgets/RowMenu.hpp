#pragma once

#include <functional>

class QAbstractItemView;
class QMenu;

namespace dorvale {

/// Fills the context menu of the row shown at `row`.
using RowMenuFiller = std::function<void(QMenu& menu, int row)>;

/// Gives the rows of `view` a context menu: a right click (or the menu key) on a row opens
/// a fresh menu that `fill` has filled for that row; a menu left empty is not shown. Which
/// rows the menu acts on is the screen's `populateRowMenu(menu, keys)`, with the keys from
/// `KeySelection::menuKeys`.
void attachRowMenu(QAbstractItemView& view, RowMenuFiller fill);

} // namespace dorvale
