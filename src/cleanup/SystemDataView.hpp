#pragma once

#include "inventory/LocalSnapshot.hpp"
#include "inventory/SystemDataPart.hpp"
#include "widgets/AmbientBackground.hpp"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QProgressBar;
class QVBoxLayout;

namespace dorvale {

class AppState;
class Card;
class IconButton;
class StatTile;
class WrappingLabel;

/// The System Data page: what the system counts as its own data, measured piece by piece,
/// and the local snapshots, each of which can be deleted. Above them, while the volume is
/// known, three tiles: what the system can purge by itself, the number of snapshots and
/// the sum of the measured pieces.
///
/// The pieces and the snapshots are the page's own, read when the page first shows with no
/// piece listed and by Refresh. A piece the last scan holds takes its size from the scan,
/// looked up on the GUI thread before the measuring starts on a worker; the snapshot
/// listing runs at the same time. Work runs with the page as context, so a result that
/// comes after the page has gone is dropped.
class SystemDataView final : public AmbientBackground {
    Q_OBJECT

public:
    explicit SystemDataView(AppState& state, QWidget* parent = nullptr);

    /// Measures the pieces and lists the snapshots again; the rows on screen stay until the
    /// new ones replace them.
    void load();
    /// Deletes `snapshot` on a worker, shows the outcome, lists the snapshots again and has
    /// the state read the volume again.
    void deleteSnapshot(const LocalSnapshot& snapshot);

    [[nodiscard]] const std::vector<SystemDataPart>& parts() const { return m_parts; }
    [[nodiscard]] const std::vector<LocalSnapshot>& snapshots() const { return m_snapshots; }
    [[nodiscard]] bool isLoading() const { return m_loading; }
    [[nodiscard]] bool isDeleting() const { return m_deleting; }
    [[nodiscard]] const std::optional<QString>& snapshotMessage() const {
        return m_snapshotMessage;
    }

    /// Called on the worker before each job; tests hold the work there.
    void setBeforeWork(std::function<void()> hold) { m_beforeWork = std::move(hold); }

signals:
    /// A load ended: the pieces and the snapshots are shown.
    void loaded();
    /// A deletion ended and the snapshots were listed again.
    void snapshotDeleted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] QWidget* makeHeader();
    [[nodiscard]] QWidget* makeSummary();
    [[nodiscard]] Card* makeComponentsCard();
    [[nodiscard]] Card* makeSnapshotsCard();
    [[nodiscard]] QWidget* makePartRow(const SystemDataPart& part, std::int64_t largest);
    [[nodiscard]] QWidget* makeSnapshotRow(const LocalSnapshot& snapshot);
    [[nodiscard]] std::vector<std::optional<std::int64_t>> scannedSizes() const;
    void listSnapshots(std::function<void(std::vector<LocalSnapshot>)> then);
    void finishLoadJob();
    void showSummary();
    void showParts();
    void showSnapshots();
    void refreshControls();

    AppState& m_state;
    std::vector<SystemDataPart> m_parts;
    std::vector<LocalSnapshot> m_snapshots;
    bool m_loading = false;
    int m_loadJobsLeft = 0;
    std::optional<std::vector<LocalSnapshot>> m_listed;
    bool m_deleting = false;
    std::optional<QString> m_snapshotMessage;
    std::function<void()> m_beforeWork;

    IconButton* m_refresh = nullptr;
    QWidget* m_summary = nullptr;
    StatTile* m_purgeable = nullptr;
    StatTile* m_snapshotCount = nullptr;
    StatTile* m_measured = nullptr;
    QProgressBar* m_measuring = nullptr;
    QVBoxLayout* m_partRows = nullptr;
    WrappingLabel* m_message = nullptr;
    WrappingLabel* m_noSnapshots = nullptr;
    QVBoxLayout* m_snapshotRows = nullptr;
};

} // namespace dorvale
