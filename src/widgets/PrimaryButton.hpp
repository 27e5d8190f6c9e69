#pragma once

#include "widgets/CapsuleButton.hpp"

class QGraphicsDropShadowEffect;
class QVariantAnimation;

namespace dorvale {

/// How large a primary button is drawn.
enum class ButtonSize {
    Regular,
    /// The bigger size of a page's one central action.
    Large,
};

/// The button of a page's main action: semibold white text on the accent gradient with a
/// glow of the accent colour below. A press shrinks it slightly and tightens the glow, both
/// eased in and out.
class PrimaryButton : public CapsuleButton {
    Q_OBJECT

public:
    explicit PrimaryButton(const QString& text, ButtonSize size = ButtonSize::Regular,
                           QWidget* parent = nullptr);

    [[nodiscard]] bool isLarge() const { return m_large; }

protected:
    [[nodiscard]] QBrush fill(const QRectF& capsule) const override;
    [[nodiscard]] qreal scale() const override;

private:
    void animatePress(bool pressed);
    void showPress(qreal progress);

    bool m_large;
    QGraphicsDropShadowEffect* m_shadow;
    QVariantAnimation* m_press;
    // 0 released, 1 pressed; the shown state while the press animates.
    qreal m_pressProgress = 0;
};

} // namespace dorvale
