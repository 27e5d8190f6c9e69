#include "inventory/SystemDataPart.hpp"

#include "model/Scanner.hpp"
#include "platform/FileOperations.hpp"
#include "platform/ParallelMap.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <algorithm>
#include <array>

namespace dorvale {

namespace {

constexpr std::array<SystemDataComponent, 8> components = {{
    {"vm", "/private/var/vm", "Swap and sleep image",
     "Virtual memory macOS writes to disk when RAM is full, plus the hibernation image.",
     "Managed by macOS. Restarting the Mac usually shrinks it.", Risk::Protected, "memorychip"},
    {"tmp", "/private/var/folders", "Temporary files",
     "Per-app temporary files and caches kept by macOS.",
     "Cleared automatically on restart. Don't delete by hand while apps are running.",
     Risk::Protected, "clock.arrow.circlepath"},
    {"assets", "/System/Library/AssetsV2", "Downloaded system assets",
     "Apple Intelligence models, voices, dictionaries, fonts and other components macOS "
     "downloads on demand.",
     "Disable features you don't use (Apple Intelligence, extra voices) in System Settings to "
     "reclaim space.",
     Risk::Protected, "brain"},
    {"updates", "/Library/Updates", "macOS update downloads",
     "Installers for pending macOS updates.",
     "Install or cancel the pending update in System Settings › General › Software "
     "Update.",
     Risk::Review, "arrow.down.circle"},
    {"simulators", "/Library/Developer/CoreSimulator", "iOS Simulator runtimes",
     "Simulator runtimes installed by Xcode (several GB each).",
     "Remove unused runtimes in Xcode › Settings › Components.", Risk::Review, "iphone"},
    {"spotlight", "/.Spotlight-V100", "Spotlight index", "The search index for this disk.",
     "Rebuild it from System Settings › Spotlight if it seems too large.", Risk::Protected,
     "magnifyingglass"},
    {"caches", "/Library/Caches", "Shared caches",
     "Caches shared by all users and system services.",
     "Usually safe to let macOS manage. Dorvale's Junk view covers your own caches.", Risk::Review,
     "shippingbox"},
    {"logs", "/private/var/log", "System logs", "Diagnostic logs written by macOS.",
     "macOS rotates them automatically.", Risk::Protected, "doc.text"},
}};

// The data volume's copy of a place when there is one, else its system location.
std::string placeToMeasure(const Locations& locations, const SystemDataComponent& component) {
    std::string onDataVolume =
        normalizePath(locations.dataVolume + "/" + std::string(component.path));
    return presenceOf(onDataVolume) == Presence::Present ? onDataVolume
                                                         : locations.systemPath(component.path);
}

struct Job {
    const SystemDataComponent* component = nullptr;
    std::optional<std::int64_t> scannedSize{};
};

std::optional<SystemDataPart> measureOne(const Locations& locations, const Job& job) {
    const SystemDataComponent& component = *job.component;
    std::string path = placeToMeasure(locations, component);
    const std::int64_t size =
        job.scannedSize ? *job.scannedSize : Scanner::directorySize(path).bytes;
    if (size < 1) {
        return std::nullopt;
    }
    return SystemDataPart{
        .id = std::string(component.id),
        .title = std::string(tr(component.title)),
        .explanation = std::string(tr(component.explanation)),
        .advice = std::string(tr(component.advice)),
        .size = size,
        .path = std::move(path),
        .risk = component.risk,
        .symbol = std::string(component.symbol),
    };
}

} // namespace

std::span<const SystemDataComponent> SystemDataPart::catalogue() {
    return components;
}

std::vector<std::optional<std::int64_t>> SystemDataPart::lookUpSizes(const ScanLookup& lookup) {
    std::vector<std::optional<std::int64_t>> sizes;
    sizes.reserve(components.size());
    for (const SystemDataComponent& component : components) {
        const FileNode* node = lookup(MatchingPath::asSeenFromRoot(component.path));
        sizes.push_back(node != nullptr ? std::optional(node->size()) : std::nullopt);
    }
    return sizes;
}

std::vector<SystemDataPart>
SystemDataPart::measure(const Locations& locations,
                        std::span<const std::optional<std::int64_t>> scannedSizes) {
    std::vector<Job> jobs;
    jobs.reserve(components.size());
    for (std::size_t index = 0; index < components.size(); ++index) {
        jobs.push_back(
            {&components[index], index < scannedSizes.size() ? scannedSizes[index] : std::nullopt});
    }
    const std::vector<std::optional<SystemDataPart>> measured =
        parallelMap(std::span<const Job>(jobs),
                    [&locations](const Job& job) { return measureOne(locations, job); });
    std::vector<SystemDataPart> parts;
    for (const std::optional<SystemDataPart>& part : measured) {
        if (part) {
            parts.push_back(*part);
        }
    }
    std::stable_sort(
        parts.begin(), parts.end(),
        [](const SystemDataPart& a, const SystemDataPart& b) { return a.size > b.size; });
    return parts;
}

std::vector<SystemDataPart> SystemDataPart::measureAll(const Locations& locations,
                                                       const ScanLookup& lookup) {
    const std::vector<std::optional<std::int64_t>> sizes = lookUpSizes(lookup);
    return measure(locations, sizes);
}

} // namespace dorvale
