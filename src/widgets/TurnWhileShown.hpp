#pragma once

#include <QObject>

class QVariantAnimation;
class QWidget;

namespace dorvale {

/// Turns a widget's drawing round once every `period` milliseconds, repeating, but only while
/// the widget is on screen: the turn starts when the widget is shown, from angle 0, and stops
/// when it is hidden. Each step repaints the widget, whose paint event reads `angle()`.
class TurnWhileShown final : public QObject {
    Q_OBJECT

public:
    TurnWhileShown(QWidget& widget, int period);

    /// Degrees turned so far, from 0 up to 360.
    [[nodiscard]] qreal angle() const;
    [[nodiscard]] bool isTurning() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVariantAnimation* m_turn;
};

} // namespace dorvale
