#include "shell/WrappingLabel.hpp"

#include <QPainter>

namespace dorvale {

namespace {

// The narrowest a wrapping label asks to be, in average characters.
constexpr int minimumCharacters = 12;

} // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void WrappingLabel::setTone(Tone tone) {
    m_tone = tone;
    update();
}

void WrappingLabel::setTextStyle(TextStyle style) {
    Typography::apply(*this, style);
}

QSize WrappingLabel::minimumSizeHint() const {
    const int width = fontMetrics().averageCharWidth() * minimumCharacters;
    return {width, heightForWidth(width)};
}

// QLabel measures plain wrapped text with the same flags, so the drawn lines fit the height
// the layout gave.
void WrappingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Theme::foreground(*this, m_tone));
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextWordWrap, text());
}

} // namespace dorvale
