#pragma once

#include "inventory/ScanLookup.hpp"
#include "model/Risk.hpp"
#include "platform/Locations.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One known place that the system counts as its own data, as listed before measuring. The
/// texts are translation keys; the path is absolute as seen from "/".
struct SystemDataComponent {
    std::string_view id{};
    std::string_view path{};
    std::string_view title{};
    std::string_view explanation{};
    std::string_view advice{};
    Risk risk = Risk::Protected;
    std::string_view symbol{};
};

/// One measured place of the system's own data. A plain value, identified by `id`.
///
/// Threads: `catalogue` and `lookUpSizes` return at once; `measure` and `measureAll` walk
/// folders and block until every walk is done, so call them on a worker. The lookup handed
/// to `lookUpSizes` or `measureAll` runs on the calling thread, before any walk starts: a
/// page whose scan tree belongs to the GUI thread looks the sizes up there and hands them
/// to `measure` on a worker.
struct SystemDataPart {
    std::string id{};
    std::string title{};
    std::string explanation{};
    std::string advice{};
    std::int64_t size = 0;
    /// The place that was measured, with the data-volume prefix when it lies there.
    std::optional<std::string> path{};
    Risk risk = Risk::Protected;
    std::string symbol{};

    friend bool operator==(const SystemDataPart&, const SystemDataPart&) = default;

    /// The known places, in a fixed order.
    [[nodiscard]] static std::span<const SystemDataComponent> catalogue();

    /// The size the last scan already knows for each place of the catalogue, in catalogue
    /// order; nothing where `lookup` finds no node. The lookup is called once per place
    /// with the catalogue path as a matching path: the place as seen from "/", which in a
    /// scan of the data volume is the place's copy there, the copy `measure` prefers. Only
    /// the found node's size is kept, so the nodes need not outlive this call.
    [[nodiscard]] static std::vector<std::optional<std::int64_t>>
    lookUpSizes(const ScanLookup& lookup);

    /// Measures every place, one walk per place on a bounded pool, taking the size from
    /// `scannedSizes` (in catalogue order) wherever it holds one instead of walking. A
    /// place is measured under the data volume when it exists there, else at its system
    /// location. Places that measure less than one byte (missing ones among them) are
    /// left out; the rest come largest first, equal sizes in catalogue order.
    [[nodiscard]] static std::vector<SystemDataPart>
    measure(const Locations& locations, std::span<const std::optional<std::int64_t>> scannedSizes);

    /// `measure` with the sizes of `lookUpSizes`.
    [[nodiscard]] static std::vector<SystemDataPart> measureAll(const Locations& locations,
                                                                const ScanLookup& lookup);
};

} // namespace dorvale
