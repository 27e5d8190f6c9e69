#include "analysis/Composition.hpp"

#include "app/AppState.hpp"
#include "platform/SaturatingSum.hpp"

#include <algorithm>

namespace dorvale {

Composition Composition::of(std::vector<std::pair<StorageBucket, std::int64_t>> entries,
                            const std::optional<VolumeInfo>& volume,
                            const std::optional<ScanTarget>& scanned, std::int64_t scannedBytes) {
    Composition composition;
    composition.entries = std::move(entries);
    for (const auto& [bucket, bytes] : composition.entries) {
        composition.total = saturatingSum(composition.total, bytes);
    }
    // Only a scan of the whole disk is measured against the volume: what a folder's scan left
    // out is the rest of the disk, not the system.
    const bool wholeDisk = volume && scanned && scanned->kind() == ScanTarget::Kind::WholeDisk;
    if (!wholeDisk) {
        composition.barTotal = composition.total;
        return composition;
    }
    const std::int64_t used = saturatingSum(volume->total, -volume->available);
    composition.otherBytes = std::max<std::int64_t>(0, saturatingSum(used, -scannedBytes));
    composition.total = saturatingSum(composition.total, composition.otherBytes);
    composition.barTotal = volume->total;
    return composition;
}

Composition Composition::of(const AppState& state) {
    const auto scan = state.scan();
    const std::int64_t scanned = scan && scan->root ? scan->root->size() : 0;
    return of(state.overviewComposition(), state.volume(), state.scannedTarget(), scanned);
}

std::int64_t Composition::bytesOf(StorageBucket bucket) const {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [bucket](const auto& entry) { return entry.first == bucket; });
    return found == entries.end() ? 0 : found->second;
}

} // namespace dorvale
