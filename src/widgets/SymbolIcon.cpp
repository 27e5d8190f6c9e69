#include "widgets/SymbolIcon.hpp"

#include "style/Symbols.hpp"

#include <QPainter>

namespace dorvale {

SymbolIcon::SymbolIcon(const QString& symbol, int size, QWidget* parent)
    : QWidget(parent)
    , m_size(size) {
    setSymbol(symbol);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(size, size);
}

void SymbolIcon::setSymbol(const QString& symbol) {
    setProperty("symbol", symbol);
    update();
}

QString SymbolIcon::symbol() const {
    return property("symbol").toString();
}

void SymbolIcon::setIconSize(int size) {
    m_size = size;
    setFixedSize(size, size);
    update();
}

void SymbolIcon::setColor(const QColor& color) {
    m_color = color;
    update();
}

void SymbolIcon::setTone(Tone tone) {
    m_tone = tone;
    update();
}

void SymbolIcon::setGradient(const QColor& color) {
    m_gradient = color;
    update();
}

void SymbolIcon::setAccentGradient(bool on) {
    m_accentGradient = on;
    update();
}

QSize SymbolIcon::sizeHint() const {
    return {m_size, m_size};
}

void SymbolIcon::paintEvent(QPaintEvent*) {
    const QColor color = m_color.isValid() ? m_color : Theme::foreground(*this, m_tone);
    QPixmap shape = Symbols::pixmap(symbol(), m_size, color, devicePixelRatioF());
    const QRectF square(0, 0, m_size, m_size);
    if (m_accentGradient) {
        Symbols::fill(shape, Theme::accentGradient(square));
    } else if (m_gradient.isValid()) {
        Symbols::fill(shape, Theme::gradient(m_gradient, square));
    }
    QPainter painter(this);
    painter.drawPixmap((width() - m_size) / 2, (height() - m_size) / 2, shape);
}

} // namespace dorvale
