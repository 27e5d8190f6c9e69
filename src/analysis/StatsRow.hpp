#pragma once

#include "model/ScanResult.hpp"

#include <QWidget>

#include <memory>

namespace dorvale {

class AppState;
class StatTile;

/// The overview's row of figures: the volume's used, free and purgeable space (only while
/// its figures are known) and what the scan measured, with how many folders it met or could
/// not read. Follows `volumeChanged`.
class StatsRow : public QWidget {
    Q_OBJECT

public:
    StatsRow(AppState& state, const ScanResult& scan, QWidget* parent = nullptr);

    [[nodiscard]] StatTile* usedTile() const { return m_used; }
    [[nodiscard]] StatTile* freeTile() const { return m_free; }
    [[nodiscard]] StatTile* purgeableTile() const { return m_purgeable; }
    [[nodiscard]] StatTile* scannedTile() const { return m_scanned; }

private:
    void showVolume();

    AppState& m_state;
    StatTile* m_used;
    StatTile* m_free;
    StatTile* m_purgeable;
    StatTile* m_scanned;
};

} // namespace dorvale
