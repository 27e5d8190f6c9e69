#pragma once

class QWidget;

namespace dorvale {

/// `widget`, at most `maximumWidth` wide, centred in a row of its own that fills the width
/// it is given. The row gives the widget its width first and then asks its height for that
/// width, so wrapped text gets every line it needs.
[[nodiscard]] QWidget* centredAtMost(QWidget* widget, int maximumWidth);

} // namespace dorvale
