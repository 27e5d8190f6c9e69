#include "widgets/DestructiveButton.hpp"

#include "style/Theme.hpp"
#include "style/Typography.hpp"

namespace dorvale {

namespace {

constexpr QMargins buttonPadding(14, 6, 14, 6);
constexpr qreal pressedOpacity = 0.8;

} // namespace

DestructiveButton::DestructiveButton(const QString& text, QWidget* parent)
    : CapsuleButton(text, parent) {
    Typography::apply(*this, TextStyle::Body, FontWeight::Semibold);
    setPadding(buttonPadding);
}

QBrush DestructiveButton::fill(const QRectF& capsule) const {
    return Theme::gradient(Theme::danger(), capsule);
}

qreal DestructiveButton::opacity() const {
    return isDown() ? pressedOpacity : 1;
}

} // namespace dorvale
