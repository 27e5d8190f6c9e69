#pragma once

#include "app/AppState.hpp"

#include <memory>
#include <optional>
#include <utility>

namespace dorvale::test {

/// The tests' way to the members that only the state's own operations set, so that a test
/// can put the state where an operation would have left it. Views have no such way.
class AppStateAccess {
public:
    explicit AppStateAccess(AppState& state)
        : m_state(state) {}

    void setScanTarget(ScanTarget target) { m_state.setScanTarget(std::move(target)); }
    void setScanning(bool scanning) { m_state.setScanning(scanning); }
    void setProgress(ScanProgressSnapshot progress) { m_state.setProgress(std::move(progress)); }
    void setScan(std::shared_ptr<ScanResult> result, std::optional<ScanTarget> target) {
        m_state.setScan(std::move(result), std::move(target));
    }
    void setRevision(std::int64_t revision) { m_state.setRevision(revision); }
    void setVolume(std::optional<VolumeInfo> volume) { m_state.setVolume(std::move(volume)); }
    void setApps(std::vector<InstalledApp> apps) { m_state.setApps(std::move(apps)); }
    void setLeftovers(std::vector<Leftover> leftovers) {
        m_state.setLeftovers(std::move(leftovers));
    }
    void setJunk(std::vector<JunkFinding> junk) { m_state.setJunk(std::move(junk)); }
    void setSmartPhase(SmartPhase phase) { m_state.setSmartPhase(phase); }
    void setLastReport(std::optional<DeletionReport> report) {
        m_state.setLastReport(std::move(report));
    }
    void setDuplicates(std::vector<DuplicateGroup> groups) {
        m_state.setDuplicates(std::move(groups));
    }
    void setDuplicatesProgress(std::optional<double> fraction) {
        m_state.setDuplicatesProgress(fraction);
    }
    void setHasFullDiskAccess(bool granted) { m_state.setHasFullDiskAccess(granted); }
    void setFailures(std::vector<DeletionFailure> failures) {
        m_state.setFailures(std::move(failures));
    }
    void setExcludedRaw(std::string raw) { m_state.setExcludedRaw(std::move(raw)); }

private:
    AppState& m_state;
};

} // namespace dorvale::test
