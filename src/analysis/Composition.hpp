#pragma once

#include "app/ScanTarget.hpp"
#include "model/StorageBucket.hpp"
#include "platform/VolumeInfo.hpp"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace dorvale {

class AppState;

/// How the scanned bytes divide into categories, as the overview's composition card shows
/// them. For a scan of the whole disk, the space the volume says is used beyond what the
/// scan found counts as one more share, "macOS and other"; for a folder or the home folder
/// it never does. A plain value, worked out from the figures it is given.
struct Composition {
    /// The categories holding bytes, largest first.
    std::vector<std::pair<StorageBucket, std::int64_t>> entries;
    /// The volume's used bytes that the scan did not account for.
    std::int64_t otherBytes = 0;
    /// The entries and the other bytes together: what shares are taken of.
    std::int64_t total = 0;
    /// What the bar's full width stands for: the whole volume for a scan of the whole disk,
    /// so that its empty end is the free space; the total otherwise.
    std::int64_t barTotal = 0;

    /// `entries` as `AppState::overviewComposition` gives them, for a scan of `scanned`
    /// that found `scannedBytes`, on `volume`.
    [[nodiscard]] static Composition of(std::vector<std::pair<StorageBucket, std::int64_t>> entries,
                                        const std::optional<VolumeInfo>& volume,
                                        const std::optional<ScanTarget>& scanned,
                                        std::int64_t scannedBytes);
    /// The composition of the state's shown scan.
    [[nodiscard]] static Composition of(const AppState& state);

    /// The bytes of one category; 0 for one that holds none.
    [[nodiscard]] std::int64_t bytesOf(StorageBucket bucket) const;
};

} // namespace dorvale
