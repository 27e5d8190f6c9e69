#include "widgets/WrappingLabel.hpp"

#include <QPainter>

namespace dorvale {

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void WrappingLabel::setTone(Tone tone) {
    m_tone = tone;
    update();
}

void WrappingLabel::setColor(const QColor& color) {
    m_color = color;
    update();
}

void WrappingLabel::setTextStyle(TextStyle style, FontWeight weight, Digits digits) {
    Typography::apply(*this, style, weight, digits);
}

void WrappingLabel::setTextStyle(TextStyle style, Digits digits) {
    Typography::apply(*this, style, digits);
}

// QLabel measures plain wrapped text with the same flags, so the drawn lines fit the height
// the layout gave.
void WrappingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_color.isValid() ? m_color : Theme::foreground(*this, m_tone));
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextWordWrap, text());
}

} // namespace dorvale
