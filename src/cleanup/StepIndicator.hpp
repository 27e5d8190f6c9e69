#pragma once

#include "app/SmartPhase.hpp"

#include <QString>
#include <QWidget>

#include <array>

namespace dorvale {

/// Where the smart clean stands, as three numbered steps, "Scan", "Review" and "Clean", joined
/// by short bars on a capsule. The steps up to the current one are filled with the accent
/// gradient; those already passed, and every step once the clean is done, show a tick instead
/// of their number. To assistive technology it is a progress bar reading "Step <n> of 3:
/// <title>".
class StepIndicator : public QWidget {
    Q_OBJECT

public:
    /// How one step is drawn.
    struct Step {
        QString title;
        /// On the accent gradient, rather than faint.
        bool reached = false;
        /// A tick in place of the number.
        bool ticked = false;
        /// The current step: its title is semibold.
        bool current = false;
        /// Not reached yet: its number and title are in the secondary colour.
        bool ahead = false;
    };
    static constexpr int stepCount = 3;

    explicit StepIndicator(SmartPhase phase, QWidget* parent = nullptr);

    void setPhase(SmartPhase phase);
    [[nodiscard]] SmartPhase phase() const { return m_phase; }

    /// The index of the current step in `phase`: scanning is still the first step, and done is
    /// still the last.
    [[nodiscard]] static int currentStep(SmartPhase phase);
    [[nodiscard]] static std::array<Step, stepCount> steps(SmartPhase phase);
    /// Whether the bar after step `index` is filled: once the step after it is reached.
    [[nodiscard]] static bool connectorReached(SmartPhase phase, int index);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] int stepWidth(const Step& step) const;
    void paintStep(QPainter& painter, const Step& step, int index, qreal x) const;
    void describe();

    SmartPhase m_phase;
};

} // namespace dorvale
