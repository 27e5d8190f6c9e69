#include "widgets/TurnWhileShown.hpp"

#include <QEvent>
#include <QVariantAnimation>
#include <QWidget>

namespace dorvale {

TurnWhileShown::TurnWhileShown(QWidget& widget, int period)
    : QObject(&widget)
    , m_turn(new QVariantAnimation(this)) {
    m_turn->setStartValue(0.0);
    m_turn->setEndValue(360.0);
    m_turn->setDuration(period);
    m_turn->setLoopCount(-1);
    connect(m_turn, &QVariantAnimation::valueChanged, &widget, [&widget] { widget.update(); });
    widget.installEventFilter(this);
}

qreal TurnWhileShown::angle() const {
    return m_turn->currentValue().toReal();
}

bool TurnWhileShown::isTurning() const {
    return m_turn->state() == QAbstractAnimation::Running;
}

bool TurnWhileShown::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        m_turn->start();
    } else if (event->type() == QEvent::Hide) {
        m_turn->stop();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace dorvale
