#pragma once

#include "model/FileKind.hpp"
#include "model/Rgb.hpp"
#include "model/Risk.hpp"
#include "model/StorageBucket.hpp"

#include <QColor>
#include <QLinearGradient>
#include <QRectF>

class QStyleOptionViewItem;
class QWidget;

namespace dorvale {

/// The one conversion of the core's colours into Qt's.
[[nodiscard]] QColor toQColor(Rgb rgb);

/// How strongly a text or symbol stands out: the palette's text colour at full, secondary or
/// tertiary strength.
enum class Tone {
    Primary,
    Secondary,
    Tertiary,
};

/// The program's palette. Every colour the interface paints comes from here (the kind and
/// bucket colours from the core's tables through `toQColor`), so no widget carries a colour
/// literal of its own. Colours that follow the desktop (window, text) are read from the
/// widget's current palette at paint time, so a theme change shows at once.
class Theme {
public:
    /// The one spacing scale of the interface, in device-independent pixels: every margin of a
    /// layout, every gap between its parts and every padding inside a panel is one of these
    /// steps, so pages built apart still line up. (A control's own shape, such as a button's
    /// padding around its title, belongs to the control.)
    struct Space {
        /// Between the lines of one block of text.
        static constexpr int hairline = 2;
        /// A title and its subtitle, a symbol and its caption.
        static constexpr int tight = 4;
        /// A symbol and the text beside it.
        static constexpr int snug = 6;
        /// Controls side by side, the parts of a compact row.
        static constexpr int small = 8;
        /// A symbol and its block of text, the rows of a card.
        static constexpr int medium = 12;
        /// Inside a card or a panel, between the parts of a sheet.
        static constexpr int large = 16;
        /// The edges of a page or a sheet.
        static constexpr int page = 24;
        /// Around a prompt centred on an empty page.
        static constexpr int wide = 40;
    };

    [[nodiscard]] static QColor blue();
    [[nodiscard]] static QColor teal();
    [[nodiscard]] static QColor amber();
    [[nodiscard]] static QColor pink();
    [[nodiscard]] static QColor lavender();
    [[nodiscard]] static QColor tangerine();
    [[nodiscard]] static QColor cyan();
    [[nodiscard]] static QColor slate();
    [[nodiscard]] static QColor lime();
    [[nodiscard]] static QColor tan();
    [[nodiscard]] static QColor graphite();
    [[nodiscard]] static QColor silver();
    /// Green: risk level safe, success and granted marks.
    [[nodiscard]] static QColor safe();
    /// Orange: risk level review, warnings.
    [[nodiscard]] static QColor caution();
    /// Red: risk level protected, destructive actions, low space.
    [[nodiscard]] static QColor danger();
    /// Violet, the first accent colour.
    [[nodiscard]] static QColor accent();
    /// Turquoise, the second accent colour.
    [[nodiscard]] static QColor accentSecondary();

    [[nodiscard]] static QColor riskColor(Risk risk);
    [[nodiscard]] static QColor kindColor(FileKind kind);
    [[nodiscard]] static QColor bucketColor(StorageBucket bucket);

    /// Text and symbols on a filled accent or destructive capsule.
    [[nodiscard]] static QColor onFill();
    /// The colour of drop shadows, before their opacity.
    [[nodiscard]] static QColor shadow();

    /// `accent` to `accentSecondary`, from the top-left to the bottom-right corner of `rect`.
    [[nodiscard]] static QLinearGradient accentGradient(const QRectF& rect);
    /// The soft top-to-bottom gradient that fills a shape "with the gradient of" one colour:
    /// a little lighter at the top, a little darker at the bottom.
    [[nodiscard]] static QLinearGradient gradient(const QColor& color, const QRectF& rect);

    /// The widget's text colour at the given strength, from its current palette (the disabled
    /// group while the widget is disabled).
    [[nodiscard]] static QColor foreground(const QWidget& widget, Tone tone);
    /// The text colour of a cell at the given strength: the highlighted text colour on a
    /// selected row, else the text colour of the view the cell belongs to.
    [[nodiscard]] static QColor foreground(const QStyleOptionViewItem& option, Tone tone);
    /// `color` as a cell shows it: the highlighted text colour on a selected row, where a tint
    /// of its own would not stand out from the highlight.
    [[nodiscard]] static QColor cellColor(const QStyleOptionViewItem& option, const QColor& color);
    /// `color` with its alpha multiplied by `opacity`.
    [[nodiscard]] static QColor withOpacity(QColor color, qreal opacity);
};

} // namespace dorvale
