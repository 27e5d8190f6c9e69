#include "widgets/ScanningRing.hpp"

#include "style/RingGradient.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"
#include "widgets/TurnWhileShown.hpp"

#include <QPainter>

namespace dorvale {

namespace {

constexpr int ringSize = 150;
constexpr qreal lineWidth = 12;
constexpr qreal trackOpacity = 0.07;
// The arc covers this share of the circle, from its start clockwise.
constexpr qreal arcShare = 0.28;
constexpr int turnMilliseconds = 1100;
constexpr int lineGap = Theme::Space::hairline;

} // namespace

ScanningRing::ScanningRing(const QString& progressText, const QString& detail, QWidget* parent)
    : QWidget(parent)
    , m_spin(new TurnWhileShown(*this, turnMilliseconds)) {
    setAccessibleRole(*this, QAccessible::Animation);
    setFixedSize(ringSize, ringSize);
    setTexts(progressText, detail);
}

void ScanningRing::setTexts(const QString& progressText, const QString& detail) {
    if (progressText == m_progressText && detail == m_detail) {
        return;
    }
    m_progressText = progressText;
    m_detail = detail;
    setAccessibleName(progressText);
    setAccessibleDescription(detail);
    update();
}

bool ScanningRing::isSpinning() const {
    return m_spin->isTurning();
}

QSize ScanningRing::sizeHint() const {
    return {ringSize, ringSize};
}

void ScanningRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle =
        QRectF(rect()).adjusted(lineWidth / 2, lineWidth / 2, -lineWidth / 2, -lineWidth / 2);
    paintRing(painter, circle);
    paintTexts(painter, circle);
}

// The arc fades in from its start: a gradient around the centre, clockwise from the start,
// from the accent fully transparent through the accent to the second accent colour.
void ScanningRing::paintRing(QPainter& painter, const QRectF& circle) const {
    painter.setPen(QPen(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), trackOpacity),
                        lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(circle);
    painter.save();
    painter.translate(circle.center());
    painter.rotate(m_spin->angle());
    painter.translate(-circle.center());
    // Once round from the seam just behind the arc's start: the accent fully transparent, the
    // accent halfway, the second accent at the end.
    RingGradient gradient(circle.center(), 0);
    gradient.setColorAt(-gradient.seam(), Theme::withOpacity(Theme::accent(), 0));
    gradient.setColorAt(180 - gradient.seam(), Theme::accent());
    gradient.setColorAt(360 - gradient.seam(), Theme::accentSecondary());
    painter.setPen(QPen(gradient.brush(), lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, 0, -qRound(arcShare * 360 * 16));
    painter.restore();
}

void ScanningRing::paintTexts(QPainter& painter, const QRectF& circle) const {
    const QFont headline = Typography::font(TextStyle::Headline, Digits::Tabular);
    const QFont caption = Typography::font(TextStyle::Caption, Digits::Tabular);
    const QFontMetricsF top(headline);
    const QFontMetricsF bottom(caption);
    const qreal width = circle.width() - lineWidth * 2;
    const qreal height = top.height() + lineGap + bottom.height();
    QRectF line(circle.center().x() - width / 2, circle.center().y() - height / 2, width,
                top.height());
    painter.setFont(headline);
    painter.setPen(Theme::foreground(*this, Tone::Primary));
    painter.drawText(line, Qt::AlignCenter, top.elidedText(m_progressText, Qt::ElideRight, width));
    line.translate(0, top.height() + lineGap);
    line.setHeight(bottom.height());
    painter.setFont(caption);
    painter.setPen(Theme::foreground(*this, Tone::Secondary));
    painter.drawText(line, Qt::AlignCenter, bottom.elidedText(m_detail, Qt::ElideRight, width));
}

} // namespace dorvale
