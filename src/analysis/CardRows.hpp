#pragma once

#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QColor>
#include <QString>

class QWidget;

namespace dorvale {

class ElidedLabel;
class SymbolIcon;

// The parts the overview's cards build their rows from.

/// A one-line text in a style and tone, cut with "…" where it does not fit.
[[nodiscard]] ElidedLabel* rowText(const QString& text, TextStyle style,
                                   FontWeight weight = FontWeight::StyleDefault,
                                   Digits digits = Digits::Proportional, Tone tone = Tone::Primary);
/// A figure that is never cut: the row gives up room elsewhere first.
[[nodiscard]] ElidedLabel* rowFigure(const QString& text, TextStyle style, FontWeight weight,
                                     Tone tone = Tone::Primary);
/// `symbol` drawn `size` square in `color` (the text colour of `tone` when invalid), in the
/// middle of a column `column` wide, so the texts of rows beside it line up.
[[nodiscard]] SymbolIcon* rowSymbol(const QString& symbol, int size, int column,
                                    const QColor& color, Tone tone = Tone::Primary);
/// `first` over `second`, `spacing` apart, left-aligned, taking the row's spare width.
[[nodiscard]] QWidget* stackedLines(QWidget* first, QWidget* second, int spacing);

} // namespace dorvale
