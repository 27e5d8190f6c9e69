#pragma once

class QWidget;

namespace dorvale {

/// Gives `window` the least size at which its layout shows all of its content while it is
/// `width` wide. Qt sets no least height for a window holding text that wraps, so without
/// this the window could be made short enough for its parts to overlap.
void fitMinimumSize(QWidget& window, int width);

} // namespace dorvale
