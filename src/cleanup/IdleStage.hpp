#pragma once

#include <QWidget>

namespace dorvale {

class AppState;
class DiskRing;
class SmartStartButton;
class WrappingLabel;

/// The smart clean's start page: the breathing start button inside a ring of how full the
/// disk is, the headline with the free space, and three reassurances. The start button (also
/// Return) begins the search. Without volume figures the ring and the free-space sentence are
/// left out.
class IdleStage : public QWidget {
    Q_OBJECT

public:
    explicit IdleStage(AppState& state, QWidget* parent = nullptr);

    [[nodiscard]] SmartStartButton* startButton() const { return m_start; }

private:
    [[nodiscard]] QWidget* makeRing();
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] static QWidget* makePromises();
    void showVolume();

    AppState& m_state;
    DiskRing* m_ring = nullptr;
    SmartStartButton* m_start = nullptr;
    WrappingLabel* m_freeSpace = nullptr;
};

} // namespace dorvale
