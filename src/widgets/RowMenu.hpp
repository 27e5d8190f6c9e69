#pragma once

#include <functional>

class QAbstractItemView;
class QMenu;
class QModelIndex;

namespace dorvale {

/// Fills the context menu of the row shown at `row`.
using RowMenuFiller = std::function<void(QMenu& menu, int row)>;
/// Fills the context menu of the item at `index`, for views whose rows have parents.
using IndexMenuFiller = std::function<void(QMenu& menu, const QModelIndex& index)>;

/// Gives the rows of `view` a context menu: a right click (or the menu key) on a row opens
/// a fresh menu that `fill` has filled for that row; a menu left empty is not shown. Which
/// rows the menu acts on is the screen's `populateRowMenu(menu, keys)`, with the keys from
/// `KeySelection::menuKeys`.
void attachRowMenu(QAbstractItemView& view, RowMenuFiller fill);
/// `attachRowMenu` for a tree: `fill` gets the item's index instead of its row.
void attachIndexMenu(QAbstractItemView& view, IndexMenuFiller fill);

/// Fills the context menu of the row at `index`, for views whose rows are not one list.
using IndexMenuFiller = std::function<void(QMenu& menu, const QModelIndex& index)>;

/// `attachRowMenu` for a tree: `fill` gets the clicked row's index.
void attachIndexMenu(QAbstractItemView& view, IndexMenuFiller fill);

} // namespace dorvale
