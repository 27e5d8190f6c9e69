#include "analysis/CardRows.hpp"

#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolIcon.hpp"

#include <QVBoxLayout>

namespace dorvale {

ElidedLabel* rowText(const QString& text, TextStyle style, FontWeight weight, Digits digits,
                     Tone tone) {
    auto* label = new ElidedLabel(text);
    label->setTextStyle(style, weight, digits);
    label->setTone(tone);
    return label;
}

ElidedLabel* rowFigure(const QString& text, TextStyle style, FontWeight weight, Tone tone) {
    ElidedLabel* label = rowText(text, style, weight, Digits::Tabular, tone);
    label->setElideMode(Qt::ElideNone);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

SymbolIcon* rowSymbol(const QString& symbol, int size, int column, const QColor& color, Tone tone) {
    auto* icon = new SymbolIcon(symbol, size);
    icon->setFixedWidth(column);
    icon->setTone(tone);
    icon->setColor(color);
    return icon;
}

QWidget* stackedLines(QWidget* first, QWidget* second, int spacing) {
    auto* lines = new QWidget;
    auto* layout = new QVBoxLayout(lines);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(first);
    layout->addWidget(second);
    lines->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return lines;
}

} // namespace dorvale
