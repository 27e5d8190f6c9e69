#include "widgets/ActivitySpinner.hpp"

#include "style/Theme.hpp"
#include "widgets/AccessibleRole.hpp"
#include "widgets/TurnWhileShown.hpp"

#include <QPainter>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int turnMilliseconds = 900;
constexpr qreal lineToSize = 0.14;
// The arc covers a quarter of the faint circle; Qt counts angles in sixteenths of a degree.
constexpr int arcSpan = 90 * 16;

} // namespace

ActivitySpinner::ActivitySpinner(int size, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_turn(new TurnWhileShown(*this, turnMilliseconds)) {
    setAccessibleRole(*this, QAccessible::Animation);
    setAccessibleName(tr("In progress"));
    setFixedSize(size, size);
}

bool ActivitySpinner::isSpinning() const {
    return m_turn->isTurning();
}

QSize ActivitySpinner::sizeHint() const {
    return {m_size, m_size};
}

void ActivitySpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = std::max(1.5, m_size * lineToSize);
    const QRectF circle = QRectF(rect()).adjusted(line / 2, line / 2, -line / 2, -line / 2);
    painter.setPen(QPen(Theme::foreground(*this, Tone::Tertiary), line));
    painter.drawEllipse(circle);
    painter.setPen(
        QPen(Theme::foreground(*this, Tone::Secondary), line, Qt::SolidLine, Qt::RoundCap));
    const int start = -qRound(m_turn->angle() * 16);
    painter.drawArc(circle, start, arcSpan);
}

} // namespace dorvale
