#include "cleanup/SmartCleanView.hpp"

#include "app/AppState.hpp"
#include "cleanup/DoneStage.hpp"
#include "cleanup/IdleStage.hpp"
#include "cleanup/ReviewStage.hpp"
#include "cleanup/StepIndicator.hpp"
#include "cleanup/WorkingStage.hpp"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spacing = 28;
constexpr int stepsAbove = 28;
constexpr int sideMargin = 40;
constexpr int bottomMargin = 30;
constexpr int fadeMilliseconds = 450;

// Fades `stage` in; the effect goes once the stage is fully shown, so it costs nothing after.
void fadeIn(QWidget& stage) {
    auto* effect = new QGraphicsOpacityEffect(&stage);
    effect->setOpacity(0);
    stage.setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity", effect);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(fadeMilliseconds);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(fade, &QPropertyAnimation::finished, &stage,
                     [&stage] { stage.setGraphicsEffect(nullptr); });
    fade->start();
}

} // namespace

SmartCleanView::SmartCleanView(AppState& state, QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state)
    , m_steps(new StepIndicator(state.smartPhase()))
    , m_stages(new QStackedWidget)
    , m_shown(state.smartPhase()) {
    setObjectName(QStringLiteral("smartCleanView"));
    m_stages->setObjectName(QStringLiteral("smartStages"));
    m_stages->addWidget(makeStage(m_shown));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(sideMargin, stepsAbove, sideMargin, bottomMargin);
    layout->setSpacing(spacing);
    layout->addWidget(m_steps, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(m_stages);
    layout->addStretch();
    connect(&m_state, &AppState::smartPhaseChanged, this, &SmartCleanView::showPhase);
}

QWidget* SmartCleanView::stage() const {
    return m_stages->currentWidget();
}

QWidget* SmartCleanView::makeStage(SmartPhase phase) {
    switch (phase) {
    case SmartPhase::Idle:
        return new IdleStage(m_state);
    case SmartPhase::Scanning:
        return new WorkingStage(tr("Looking for files you don’t need…"),
                                tr("Caches, logs, Trash, Xcode leftovers, Mail attachments…"));
    case SmartPhase::Review:
        return new ReviewStage(m_state);
    case SmartPhase::Cleaning:
        return new WorkingStage(tr("Cleaning…"),
                                tr("Only the safe items you selected are removed."));
    case SmartPhase::Done:
        return new DoneStage(m_state);
    }
    return new IdleStage(m_state);
}

// The state emits on every set, also of the phase it has; the stage shown stays then.
void SmartCleanView::showPhase() {
    const SmartPhase phase = m_state.smartPhase();
    if (phase == m_shown) {
        return;
    }
    m_shown = phase;
    m_steps->setPhase(phase);
    QWidget* old = m_stages->currentWidget();
    QWidget* stage = makeStage(phase);
    m_stages->addWidget(stage);
    m_stages->setCurrentWidget(stage);
    m_stages->removeWidget(old);
    old->deleteLater();
    fadeIn(*stage);
}

} // namespace dorvale
