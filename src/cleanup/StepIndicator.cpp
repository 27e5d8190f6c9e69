#include "cleanup/StepIndicator.hpp"

#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/AccessibleRole.hpp"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace dorvale {

namespace {

constexpr int badgeSide = 24;
constexpr int badgeToLabel = 8;
constexpr int connectorWidth = 48;
constexpr int connectorHeight = 3;
constexpr int gap = 10;
constexpr int sidePadding = 18;
constexpr int edgePadding = 10;
constexpr qreal faintBadge = 0.08;
constexpr qreal faintConnector = 0.10;
constexpr qreal capsuleOpacity = 0.7;
constexpr qreal strokeOpacity = 0.08;
constexpr int tickSize = 12;

QFont labelFont(const StepIndicator::Step& step) {
    return Typography::font(TextStyle::Callout,
                            step.current ? FontWeight::Semibold : FontWeight::StyleDefault);
}

} // namespace

StepIndicator::StepIndicator(SmartPhase phase, QWidget* parent)
    : QWidget(parent)
    , m_phase(phase) {
    setObjectName(QStringLiteral("stepIndicator"));
    setAccessibleRole(*this, QAccessible::ProgressBar);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    describe();
}

void StepIndicator::setPhase(SmartPhase phase) {
    m_phase = phase;
    describe();
    // The current step's title is semibold, so the width changes with the phase.
    updateGeometry();
    update();
}

int StepIndicator::currentStep(SmartPhase phase) {
    switch (phase) {
    case SmartPhase::Idle:
    case SmartPhase::Scanning:
        return 0;
    case SmartPhase::Review:
        return 1;
    case SmartPhase::Cleaning:
    case SmartPhase::Done:
        return 2;
    }
    return 0;
}

std::array<StepIndicator::Step, StepIndicator::stepCount> StepIndicator::steps(SmartPhase phase) {
    const std::array<QString, stepCount> titles = {tr("Scan"), tr("Review"), tr("Clean")};
    const int current = currentStep(phase);
    std::array<Step, stepCount> steps;
    for (int i = 0; i < stepCount; ++i) {
        steps[i] = Step{.title = titles[i],
                        .reached = i <= current,
                        .ticked = phase == SmartPhase::Done ||
                                  i<current, .current = i == current, .ahead = i> current};
    }
    return steps;
}

bool StepIndicator::connectorReached(SmartPhase phase, int index) {
    return index < currentStep(phase);
}

int StepIndicator::stepWidth(const Step& step) const {
    return badgeSide + badgeToLabel + Typography::textWidth(labelFont(step), step.title);
}

QSize StepIndicator::sizeHint() const {
    int width = 2 * sidePadding + (stepCount - 1) * (2 * gap + connectorWidth);
    int labelHeight = 0;
    for (const Step& step : steps(m_phase)) {
        width += stepWidth(step);
        labelHeight = std::max(labelHeight, QFontMetrics(labelFont(step)).height());
    }
    return {width, 2 * edgePadding + std::max(badgeSide, labelHeight)};
}

QSize StepIndicator::minimumSizeHint() const {
    return sizeHint();
}

void StepIndicator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange) {
        updateGeometry();
    }
}

void StepIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = capsule.height() / 2;
    painter.setPen(
        QPen(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), strokeOpacity), 1));
    painter.setBrush(Theme::withOpacity(palette().color(QPalette::Base), capsuleOpacity));
    painter.drawRoundedRect(capsule, radius, radius);

    const std::array<Step, stepCount> all = steps(m_phase);
    const QColor faint = Theme::foreground(*this, Tone::Primary);
    qreal x = sidePadding;
    for (int i = 0; i < stepCount; ++i) {
        paintStep(painter, all[i], i, x);
        x += stepWidth(all[i]);
        if (i + 1 == stepCount) {
            break;
        }
        const QRectF bar(x + gap, (height() - connectorHeight) / 2.0, connectorWidth,
                         connectorHeight);
        painter.setPen(Qt::NoPen);
        if (connectorReached(m_phase, i)) {
            painter.setBrush(Theme::accentGradient(bar));
        } else {
            painter.setBrush(Theme::withOpacity(faint, faintConnector));
        }
        painter.drawRoundedRect(bar, connectorHeight / 2.0, connectorHeight / 2.0);
        x += 2 * gap + connectorWidth;
    }
}

void StepIndicator::paintStep(QPainter& painter, const Step& step, int index, qreal x) const {
    const QRectF badge(x, (height() - badgeSide) / 2.0, badgeSide, badgeSide);
    painter.setPen(Qt::NoPen);
    if (step.reached) {
        painter.setBrush(Theme::accentGradient(badge));
    } else {
        painter.setBrush(Theme::withOpacity(Theme::foreground(*this, Tone::Primary), faintBadge));
    }
    painter.drawEllipse(badge);
    if (step.ticked) {
        const QPixmap tick = Symbols::pixmap(QStringLiteral("checkmark"), tickSize, Theme::onFill(),
                                             devicePixelRatioF());
        painter.drawPixmap(badge.center() - QPointF(tickSize / 2.0, tickSize / 2.0), tick);
    } else {
        painter.setFont(Typography::font(TextStyle::Caption, FontWeight::Bold));
        painter.setPen(step.current ? Theme::onFill() : Theme::foreground(*this, Tone::Secondary));
        painter.drawText(badge, Qt::AlignCenter, QString::number(index + 1));
    }
    const QRectF label(badge.right() + badgeToLabel, 0, width() - badge.right(), height());
    painter.setFont(labelFont(step));
    painter.setPen(Theme::foreground(*this, step.ahead ? Tone::Secondary : Tone::Primary));
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, step.title);
}

void StepIndicator::describe() {
    const int current = currentStep(m_phase);
    setAccessibleName(tr("Step %1 of %2: %3")
                          .arg(current + 1)
                          .arg(stepCount)
                          .arg(steps(m_phase)[static_cast<std::size_t>(current)].title));
}

} // namespace dorvale
