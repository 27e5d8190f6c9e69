#pragma once

#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QLabel>

namespace dorvale {

/// Plain text that wraps onto as many lines as it needs at the width it is given, in the
/// text colour of a tone. Its height follows its width, so layouts give it the lines it
/// needs.
class WrappingLabel : public QLabel {
    Q_OBJECT

public:
    explicit WrappingLabel(const QString& text = {}, QWidget* parent = nullptr);

    void setTone(Tone tone);
    [[nodiscard]] Tone tone() const { return m_tone; }
    /// Paints the text in `color`; an invalid colour returns to the tone.
    void setColor(const QColor& color);
    [[nodiscard]] QColor color() const { return m_color; }
    /// Sets the text's style (`Typography::apply`).
    void setTextStyle(TextStyle style, FontWeight weight = FontWeight::StyleDefault,
                      Digits digits = Digits::Proportional);
    void setTextStyle(TextStyle style, Digits digits);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Tone m_tone = Tone::Primary;
    QColor m_color;
};

} // namespace dorvale
