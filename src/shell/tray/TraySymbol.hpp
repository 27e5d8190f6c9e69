#pragma once

#include <QColor>
#include <QIcon>
#include <QStringView>

namespace dorvale {

/// A symbol drawn for the tray: a single-colour shape in `color` (the panel's text colour, so
/// it reads on light and dark panels alike), at every size a tray asks for and at the
/// screen's pixel density.
[[nodiscard]] QIcon traySymbol(QStringView symbol, const QColor& color);

} // namespace dorvale
