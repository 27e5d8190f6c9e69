#include "cleanup/SmartStartButton.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>
#include <numbers>

namespace dorvale {

namespace {

constexpr int side = 170;
constexpr qreal grownScale = 1.03;
constexpr qreal glowOpacity = 0.55;
// Blur radii of the glow at rest and fully grown; Qt's blur spreads about half as far as its
// radius, so these are twice the glow's reach.
constexpr qreal restingBlur = 36;
constexpr qreal grownBlur = 68;
// One breath in and out.
constexpr int breathMilliseconds = 2 * 1800;
constexpr int wandSize = 34;
constexpr int wandToLabel = 6;

} // namespace

SmartStartButton::SmartStartButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_glow(new QGraphicsDropShadowEffect(this))
    , m_breath(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("startButton"));
    setText(tr("Scan"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(side, side);
    m_glow->setColor(Theme::withOpacity(Theme::accent(), glowOpacity));
    m_glow->setOffset(0, 0);
    setGraphicsEffect(m_glow);
    m_breath->setStartValue(0.0);
    m_breath->setEndValue(1.0);
    m_breath->setDuration(breathMilliseconds);
    m_breath->setLoopCount(-1);
    connect(m_breath, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        // Half a cosine wave each way: eased in and out, and back without a jump.
        breathe((1 - std::cos(2 * std::numbers::pi * value.toDouble())) / 2);
    });
    breathe(0);
}

bool SmartStartButton::isBreathing() const {
    return m_breath->state() == QAbstractAnimation::Running;
}

QSize SmartStartButton::sizeHint() const {
    return {side, side};
}

void SmartStartButton::showEvent(QShowEvent* event) {
    QAbstractButton::showEvent(event);
    m_breath->start();
}

void SmartStartButton::hideEvent(QHideEvent* event) {
    QAbstractButton::hideEvent(event);
    m_breath->stop();
    breathe(0);
}

void SmartStartButton::breathe(qreal pulse) {
    m_pulse = pulse;
    m_glow->setBlurRadius(restingBlur + (grownBlur - restingBlur) * pulse);
    update();
}

void SmartStartButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The grown disc is drawn inside the frame, so it is the resting one that is a little
    // smaller than the button.
    const qreal scale = (1 + (grownScale - 1) * m_pulse) / grownScale;
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);
    const QRectF disc(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::accentGradient(disc));
    painter.drawEllipse(disc);
    if (hasFocus()) {
        painter.setPen(QPen(Theme::onFill(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(6, 6, -6, -6));
    }

    const QFont font = Typography::font(TextStyle::Title2, FontWeight::Bold);
    const int labelHeight = QFontMetrics(font).height();
    const qreal top = centre.y() - (wandSize + wandToLabel + labelHeight) / 2.0;
    const QPixmap wand = Symbols::pixmap(QStringLiteral("wand.and.stars"), wandSize,
                                         Theme::onFill(), devicePixelRatioF());
    painter.drawPixmap(QPointF(centre.x() - wandSize / 2.0, top), wand);
    painter.setFont(font);
    painter.setPen(Theme::onFill());
    painter.drawText(QRectF(0, top + wandSize + wandToLabel, width(), labelHeight),
                     Qt::AlignHCenter | Qt::AlignTop, text());
}

} // namespace dorvale
