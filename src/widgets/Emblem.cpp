#include "widgets/Emblem.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"

#include <QGraphicsDropShadowEffect>
#include <QPainter>

namespace dorvale {

namespace {

constexpr int side = 84;
constexpr qreal faintOpacity = 0.18;
constexpr int faintSymbolSize = 34;
constexpr qreal squareRadius = 22;
constexpr int filledSymbolSize = 36;
constexpr qreal glowOpacity = 0.4;
constexpr qreal glowRadius = 16;
constexpr qreal glowOffset = 6;

} // namespace

Emblem::Emblem(const QString& symbol, Look look, QWidget* parent)
    : QWidget(parent)
    , m_look(look) {
    setFixedSize(side, side);
    setProperty("symbol", symbol);
    if (look == Look::FilledSquare) {
        auto* glow = new QGraphicsDropShadowEffect(this);
        glow->setColor(Theme::withOpacity(Theme::accent(), glowOpacity));
        glow->setBlurRadius(glowRadius);
        glow->setOffset(0, glowOffset);
        setGraphicsEffect(glow);
    }
}

int Emblem::symbolSize() const {
    return m_look == Look::FaintDisc ? faintSymbolSize : filledSymbolSize;
}

void Emblem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::accentGradient(shape));
    const int size = symbolSize();
    QPixmap symbol =
        Symbols::pixmap(property("symbol").toString(), size, Theme::onFill(), devicePixelRatioF());
    if (m_look == Look::FaintDisc) {
        painter.setOpacity(faintOpacity);
        painter.drawEllipse(shape);
        painter.setOpacity(1);
        Symbols::fill(symbol, Theme::accentGradient(QRectF(0, 0, size, size)));
    } else {
        painter.drawRoundedRect(shape, squareRadius, squareRadius);
    }
    painter.drawPixmap(QPointF((width() - size) / 2.0, (height() - size) / 2.0), symbol);
}

} // namespace dorvale
