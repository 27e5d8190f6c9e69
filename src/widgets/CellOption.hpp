#pragma once

#include <QStyleOptionViewItem>

class QWidget;

namespace dorvale {

/// What a cell painter needs to draw a widget of its own the way a view draws one of its
/// cells: the widget's rectangle, font, palette and state, never selected.
[[nodiscard]] QStyleOptionViewItem cellOptionFor(const QWidget& widget);

} // namespace dorvale
