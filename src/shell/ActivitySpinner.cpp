#include "shell/ActivitySpinner.hpp"

#include "shell/Theme.hpp"

#include <QPainter>
#include <QVariantAnimation>

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
    , m_turn(new QVariantAnimation(this)) {
    setFixedSize(size, size);
    m_turn->setStartValue(0.0);
    m_turn->setEndValue(360.0);
    m_turn->setDuration(turnMilliseconds);
    m_turn->setLoopCount(-1);
    connect(m_turn, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

bool ActivitySpinner::isSpinning() const {
    return m_turn->state() == QAbstractAnimation::Running;
}

QSize ActivitySpinner::sizeHint() const {
    return {m_size, m_size};
}

void ActivitySpinner::showEvent(QShowEvent* event) {
    m_turn->start();
    QWidget::showEvent(event);
}

void ActivitySpinner::hideEvent(QHideEvent* event) {
    m_turn->stop();
    QWidget::hideEvent(event);
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
    const int start = -qRound(m_turn->currentValue().toReal() * 16);
    painter.drawArc(circle, start, arcSpan);
}

} // namespace dorvale
