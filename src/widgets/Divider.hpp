#pragma once

class QFrame;

namespace dorvale {

/// A thin horizontal rule in the palette's mid colour, one pixel high.
[[nodiscard]] QFrame* makeDivider();

} // namespace dorvale
