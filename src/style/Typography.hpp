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
    /// The headline of a page that is one large prompt.
    DisplaySmall,
    /// A figure that is the point of a page, such as what a clean freed.
    DisplayMedium,
    /// The one figure a page is built around, such as what a clean would free.
    DisplayLarge,
};

/// The weight a text is set in: its style's own, or heavier to stand out.
enum class FontWeight {
    StyleDefault,
    Medium,
    Semibold,
    Bold,
};

/// Whether the digits of a text take one width each, so figures that change in place do not
/// jitter and columns of sizes line up.
enum class Digits {
    Proportional,
    Tabular,
};

/// Fonts of the named text styles, sized relative to the application font so that the
/// user's font settings scale the whole interface. Every text of the interface takes its
/// font from here: a widget through `apply` (or a label's `setTextStyle`), a painter through
/// `font`.
class Typography {
public:
    /// The application font scaled and weighted for `style`, in `weight` unless that is the
    /// style's own. The statistic figure always has tabular digits.
    [[nodiscard]] static QFont font(TextStyle style, FontWeight weight = FontWeight::StyleDefault,
                                    Digits digits = Digits::Proportional);
    [[nodiscard]] static QFont font(TextStyle style, Digits digits);
    /// Sets the font of `style` on `widget`.
    static void apply(QWidget& widget, TextStyle style,
                      FontWeight weight = FontWeight::StyleDefault,
                      Digits digits = Digits::Proportional);
    static void apply(QWidget& widget, TextStyle style, Digits digits);
    /// The width `text` takes in `font`, rounded up to whole pixels. Widgets size themselves
    /// with it: the integer advance of `QFontMetrics` can fall short of the drawn text by a
    /// fraction of a pixel, which makes a label that exactly fits elide its last letters.
    [[nodiscard]] static int textWidth(const QFont& font, const QString& text);
    /// `font` asking for tabular digits, for text drawn in a font that is not a style's (a
    /// view's own font). Qt before 6.7 cannot switch OpenType features; the common Linux
    /// interface fonts draw equal-width digits by default, so there the font is returned as
    /// it is.
    [[nodiscard]] static QFont monospacedDigits(QFont font);
};

} // namespace dorvale
