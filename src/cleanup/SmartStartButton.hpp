#pragma once

#include <QAbstractButton>

class QGraphicsDropShadowEffect;
class QVariantAnimation;

namespace dorvale {

/// The round start button of the smart clean: a disc of the accent gradient with a wand and
/// "Scan" in white, glowing in the accent colour. While it is on screen it breathes: every
/// 1.8 seconds, eased in and out, it grows a little and its glow widens, then back again. It
/// is a push button to the keyboard and to assistive technology, named by its label.
class SmartStartButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit SmartStartButton(QWidget* parent = nullptr);

    /// How far the breath has gone, from 0 (at rest) to 1 (fully grown).
    [[nodiscard]] qreal pulse() const { return m_pulse; }
    [[nodiscard]] bool isBreathing() const;

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void breathe(qreal pulse);

    QGraphicsDropShadowEffect* m_glow;
    QVariantAnimation* m_breath;
    qreal m_pulse = 0;
};

} // namespace dorvale
