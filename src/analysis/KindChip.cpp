#include "analysis/KindChip.hpp"

#include "analysis/KindSymbol.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 5;
constexpr int symbolGap = 4;

} // namespace

KindChip::KindChip(FileKind kind, QWidget* parent)
    : QAbstractButton(parent)
    , m_kind(kind) {
    setCheckable(true);
    setText(kindTitle(kind));
    setFont(Typography::font(TextStyle::Caption, FontWeight::Medium));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setProperty("symbol", kindSymbol(kind));
}

int KindChip::iconSide() const {
    return fontMetrics().ascent();
}

QSize KindChip::sizeHint() const {
    const int width = horizontalPadding + iconSide() + symbolGap +
                      Typography::textWidth(font(), text()) + horizontalPadding;
    return {width, fontMetrics().height() + 2 * verticalPadding};
}

void KindChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = Theme::kindColor(m_kind);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = capsule.height() / 2;
    painter.setPen(isChecked() ? QPen(Theme::withOpacity(color, 0.6), 1) : QPen(Qt::NoPen));
    painter.setBrush(isChecked()
                         ? Theme::withOpacity(color, 0.22)
                         : Theme::withOpacity(Theme::foreground(*this, Tone::Primary), 0.05));
    painter.drawRoundedRect(capsule, radius, radius);
    const QColor ink = Theme::foreground(*this, isChecked() ? Tone::Primary : Tone::Secondary);
    const int side = iconSide();
    const QPoint iconAt(horizontalPadding, (height() - side) / 2);
    painter.drawPixmap(iconAt, Symbols::pixmap(kindSymbol(m_kind), side, ink, devicePixelRatioF()));
    painter.setPen(ink);
    painter.setFont(font());
    const QRect textRect(iconAt.x() + side + symbolGap, 0,
                         width() - iconAt.x() - side - symbolGap - horizontalPadding + 1, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        painter.setPen(QPen(Theme::accent(), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(capsule, radius, radius);
    }
}

} // namespace dorvale
