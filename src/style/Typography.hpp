#pragma once

#include <QFont>

class QWidget;

namespace dorvale {

/// The named text styles of the interface, from the smallest to the largest.
enum class TextStyle {
    Caption2,
    Caption,
    Subheadline,
    Callout,
    Body,
    Headline,
    Title3,
    Title2,
    Title,
    /// The figure of a statistic tile.
    StatValue,
    /// The title at the head of every page.
    PageTitle,
};

/// Fonts of the named text styles, sized relative to the application font so that the
/// user's font settings scale the whole interface.
class Typography {
public:
    /// The application font scaled and weighted for `style`. The statistic figure also asks
    /// for digits of equal width.
    [[nodiscard]] static QFont font(TextStyle style);
    /// Sets the style's font on `widget`.
    static void apply(QWidget& widget, TextStyle style);
    /// `font` with semibold weight.
    [[nodiscard]] static QFont semibold(QFont font);
    /// The width `text` takes in `font`, rounded up to whole pixels. Widgets size themselves
    /// with it: the integer advance of `QFontMetrics` can fall short of the drawn text by a
    /// fraction of a pixel, which makes a label that exactly fits elide its last letters.
    [[nodiscard]] static int textWidth(const QFont& font, const QString& text);
    /// `font` asking for digits of equal width, so figures that change in place do not jitter
    /// and columns of sizes line up. Qt before 6.7 cannot switch OpenType features; the common
    /// Linux interface fonts draw equal-width digits by default, so there the font is
    /// returned as it is.
    [[nodiscard]] static QFont monospacedDigits(QFont font);
};

} // namespace dorvale
