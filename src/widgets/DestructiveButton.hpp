#pragma once

#include "widgets/CapsuleButton.hpp"

namespace dorvale {

/// The button of an action that deletes: semibold white text on the red gradient, dimmed
/// while pressed.
class DestructiveButton : public CapsuleButton {
    Q_OBJECT

public:
    explicit DestructiveButton(const QString& text, QWidget* parent = nullptr);

protected:
    [[nodiscard]] QBrush fill(const QRectF& capsule) const override;
    [[nodiscard]] qreal opacity() const override;
};

} // namespace dorvale
