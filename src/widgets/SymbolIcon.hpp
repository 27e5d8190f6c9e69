#pragma once

#include "style/Theme.hpp"

#include <QColor>
#include <QWidget>

namespace dorvale {

/// One symbol drawn at a fixed square size, in a tint or in the text colour of a tone. Keeps
/// the symbol's name in its "symbol" property. Decorative: the text beside it names it. The
/// symbol lies in the middle of the widget, so a wider fixed width frames it in a column.
class SymbolIcon : public QWidget {
    Q_OBJECT

public:
    SymbolIcon(const QString& symbol, int size, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    [[nodiscard]] QString symbol() const;
    /// The edge of the square, in device-independent pixels.
    void setIconSize(int size);
    [[nodiscard]] int iconSize() const { return m_size; }
    /// Paints the symbol in `color`; an invalid colour returns to the tone.
    void setColor(const QColor& color);
    [[nodiscard]] QColor color() const { return m_color; }
    /// Paints the symbol in the text colour of `tone` (the default is primary).
    void setTone(Tone tone);
    /// Fills the symbol with the soft gradient of `color` (`Theme::gradient`) instead of one
    /// colour; an invalid colour returns to the plain fill.
    void setGradient(const QColor& color);
    /// Fills the symbol with the accent gradient (`Theme::accentGradient`) over its square
    /// while `on`, ahead of any other fill.
    void setAccentGradient(bool on);
    [[nodiscard]] bool hasAccentGradient() const { return m_accentGradient; }

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_size;
    QColor m_color;
    QColor m_gradient;
    Tone m_tone = Tone::Primary;
    bool m_accentGradient = false;
};

} // namespace dorvale
