#pragma once

#include "style/Theme.hpp"

#include <QWidget>

namespace dorvale {

class ElidedLabel;
class SymbolIcon;

/// How a `SymbolLabel` shows its title and symbol.
enum class LabelStyle {
    TitleAndIcon,
    /// The symbol alone; the title becomes its tool tip and accessible name.
    IconOnly,
};

/// A symbol with a title beside it, sized to the label's font. Keeps the symbol's name in
/// its "symbol" property; the title is elided rather than widening the layout.
class SymbolLabel : public QWidget {
    Q_OBJECT

public:
    SymbolLabel(const QString& symbol, const QString& title,
                LabelStyle style = LabelStyle::TitleAndIcon, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    [[nodiscard]] QString title() const;
    void setLabelStyle(LabelStyle style);
    [[nodiscard]] LabelStyle labelStyle() const { return m_style; }
    /// Paints the symbol in `color` (an invalid colour: in the text's colour).
    void setIconColor(const QColor& color);
    /// Text colour strength of the title, and of the symbol while it has no colour of its own.
    void setTone(Tone tone);

    [[nodiscard]] SymbolIcon* icon() const { return m_icon; }
    [[nodiscard]] ElidedLabel* label() const { return m_label; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateForStyle();
    void fitIconToFont();

    SymbolIcon* m_icon;
    ElidedLabel* m_label;
    LabelStyle m_style;
};

} // namespace dorvale
