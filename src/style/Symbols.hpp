#pragma once

#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace dorvale {

/// The interface's symbols by name ("trash.fill", "checkmark.shield.fill"). One table maps
/// each name to a freedesktop icon name, looked up in the desktop's icon theme, and to a
/// small drawing bundled with the program, used where the theme has no such icon, so every
/// symbol draws on a bare system too. Symbols are drawn tinted: the icon's shape is kept and
/// filled with one colour, so they follow the text colour or a tint like text does.
///
/// GUI thread only. Widgets that show a symbol keep its name in their "symbol" property.
class Symbols {
public:
    /// Makes the desktop's icon theme usable: without a desktop session (the offscreen
    /// platform, a bare window manager) Qt knows no theme and looks only in its own
    /// resources, so the XDG icon folders and the Adwaita theme are set up instead. A
    /// desktop theme that lacks an icon falls back to Adwaita too. Runs once; every theme
    /// look-up of the program goes through it first.
    static void prepareIconTheme();

    /// Every name the table knows, sorted.
    [[nodiscard]] static QStringList names();
    [[nodiscard]] static bool isKnown(QStringView name);
    /// The freedesktop icon name of a symbol; empty for an unknown name.
    [[nodiscard]] static QString themeName(QStringView name);
    /// The resource path of the bundled drawing of a symbol; empty for an unknown name.
    [[nodiscard]] static QString fallbackPath(QStringView name);

    /// The icon of a symbol: the theme's, else the bundled drawing. Null, with a warning in
    /// the log, for a name the table does not know.
    [[nodiscard]] static QIcon icon(QStringView name);
    /// The symbol as a `size` × `size` (device-independent pixels) image filled with `color`.
    /// Kept in Qt's pixmap cache, so painting it again costs a look-up.
    [[nodiscard]] static QPixmap pixmap(QStringView name, int size, const QColor& color,
                                        qreal devicePixelRatio = 1.0);
    /// `icon` at that size with every visible pixel painted in `color`, keeping its coverage.
    [[nodiscard]] static QPixmap tinted(const QIcon& icon, int size, const QColor& color,
                                        qreal devicePixelRatio = 1.0);
    /// Paints every visible pixel of `symbol` with `brush` (a colour or a gradient over the
    /// symbol's device-independent area), keeping its coverage.
    static void fill(QPixmap& symbol, const QBrush& brush);
};

} // namespace dorvale
