#include "widgets/PrimaryButton.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"

#include <QGraphicsDropShadowEffect>
#include <QVariantAnimation>

namespace dorvale {

namespace {

constexpr QMargins largePadding(28, 12, 28, 12);
constexpr QMargins regularPadding(14, 6, 14, 6);
constexpr qreal pressedScale = 0.97;
constexpr qreal shadowOpacity = 0.35;
constexpr qreal shadowOffset = 4;
constexpr qreal shadowRadius = 10;
constexpr qreal pressedShadowRadius = 4;
constexpr int pressMilliseconds = 200;

} // namespace

PrimaryButton::PrimaryButton(const QString& text, ButtonSize size, QWidget* parent)
    : CapsuleButton(text, parent)
    , m_large(size == ButtonSize::Large)
    , m_shadow(new QGraphicsDropShadowEffect(this))
    , m_press(new QVariantAnimation(this)) {
    Typography::apply(*this, m_large ? TextStyle::Title3 : TextStyle::Body, FontWeight::Semibold);
    setPadding(m_large ? largePadding : regularPadding);
    m_shadow->setColor(Theme::withOpacity(Theme::accent(), shadowOpacity));
    m_shadow->setOffset(0, shadowOffset);
    m_shadow->setBlurRadius(shadowRadius);
    setGraphicsEffect(m_shadow);
    m_press->setDuration(pressMilliseconds);
    m_press->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_press, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { showPress(value.toReal()); });
    connect(this, &QPushButton::pressed, this, [this] { animatePress(true); });
    connect(this, &QPushButton::released, this, [this] { animatePress(false); });
}

QBrush PrimaryButton::fill(const QRectF& capsule) const {
    return Theme::accentGradient(capsule);
}

qreal PrimaryButton::scale() const {
    return 1 - (1 - pressedScale) * m_pressProgress;
}

void PrimaryButton::animatePress(bool pressed) {
    m_press->stop();
    m_press->setStartValue(m_pressProgress);
    m_press->setEndValue(pressed ? 1.0 : 0.0);
    m_press->start();
}

void PrimaryButton::showPress(qreal progress) {
    m_pressProgress = progress;
    m_shadow->setBlurRadius(shadowRadius - (shadowRadius - pressedShadowRadius) * progress);
    update();
}

} // namespace dorvale
