#include "inventory/Recommendations.hpp"

#include "inventory/DeveloperArtefacts.hpp"
#include "inventory/ScanLookup.hpp"
#include "model/MatchingPath.hpp"
#include "platform/Clock.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <algorithm>
#include <optional>
#include <string>

namespace dorvale {

namespace {

namespace Actions = RecommendationActions;
using Card = std::optional<Recommendation>;

// Sizes are decimal: 50 MB, 500 MB, 1 GB and 2 GB.
constexpr std::int64_t junkThreshold = 50'000'000;
constexpr std::int64_t backupsThreshold = 1'000'000'000;
constexpr std::int64_t largeFileSize = 500'000'000;
constexpr std::int64_t developerThreshold = 1'000'000'000;
constexpr std::int64_t downloadsThreshold = 2'000'000'000;
constexpr int oldFileDays = 180;

// Palette colours that no storage bucket carries.
constexpr Rgb cautionColor{242, 163, 58};
constexpr Rgb accentSecondaryColor{47, 213, 201};

/// `text` with its "%lld" written as the plain integer `count`.
std::string withCount(std::string_view text, std::int64_t count) {
    std::string result(text);
    const std::size_t at = result.find("%lld");
    if (at != std::string::npos) {
        result.replace(at, 4, std::to_string(count));
    }
    return result;
}

std::vector<PlanCandidate> candidates(const JunkFinding& finding, Removal removal) {
    std::vector<PlanCandidate> items;
    items.reserve(finding.items.size());
    for (const JunkItem& item : finding.items) {
        items.push_back({.path = item.id,
                         .name = std::string(lastComponent(item.id)),
                         .size = item.size,
                         .removal = removal});
    }
    return items;
}

Card safeJunkCard(std::span<const JunkFinding> junk) {
    std::int64_t total = 0;
    for (const JunkFinding& finding : junk) {
        const JunkRule& rule = finding.rule;
        // The Trash has a card of its own.
        if (rule.risk == Risk::Safe && rule.inSmartClean && rule.id != "trash") {
            total += finding.totalSize();
        }
    }
    if (total <= junkThreshold) {
        return std::nullopt;
    }
    return Recommendation{
        .id = "junk",
        .symbol = "sparkles",
        .tint = color(StorageBucket::Junk),
        .title = std::string(tr("Safe junk")),
        .detail = std::string(
            tr("Caches, logs and leftovers that regenerate on their own. One click to clean.")),
        .size = total,
        .action = Actions::StartSmartClean{},
    };
}

Card trashCard(std::span<const JunkFinding> junk) {
    const JunkFinding* trash = junkFinding(junk, "trash");
    if (trash == nullptr || trash->totalSize() <= junkThreshold) {
        return std::nullopt;
    }
    return Recommendation{
        .id = "trash",
        .symbol = "trash.fill",
        .tint = color(StorageBucket::Trash),
        .title = std::string(tr("Empty the Trash")),
        .detail = std::string(tr("Whatever is in the Trash still takes up space.")),
        .size = trash->totalSize(),
        .action = Actions::RequestDeletion{.title = std::string(tr("Empty the Trash")),
                                           .items = candidates(*trash, Removal::Permanent)},
    };
}

Card installersCard(std::span<const JunkFinding> junk) {
    const JunkFinding* installers = junkFinding(junk, "old-installers");
    if (installers == nullptr || installers->items.empty() || installers->totalSize() <= 0) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int64_t>(installers->items.size());
    return Recommendation{
        .id = "installers",
        .symbol = "shippingbox.fill",
        .tint = color(StorageBucket::Archives),
        .title = std::string(tr("Forgotten installers")),
        .detail = withCount(tr("%lld .dmg/.pkg files in Downloads older than a week."), count),
        .size = installers->totalSize(),
        .action = Actions::RequestDeletion{.title = std::string(tr("Delete installers")),
                                           .items = candidates(*installers, Removal::Trash)},
    };
}

Card backupsCard(std::span<const JunkFinding> junk) {
    const JunkFinding* backups = junkFinding(junk, "ios-backups");
    if (backups == nullptr || backups->items.empty() || backups->totalSize() <= backupsThreshold) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int64_t>(backups->items.size());
    return Recommendation{
        .id = "backups",
        .symbol = "iphone",
        .tint = color(StorageBucket::Audio),
        .title = std::string(tr("iPhone/iPad backups")),
        .detail = withCount(
            tr("%lld local backup(s). If you back up to iCloud, you may not need them."), count),
        .size = backups->totalSize(),
        .action = Actions::OpenSection{.section = RecommendedSection::Junk},
    };
}

struct FileTotal {
    std::int64_t count = 0;
    std::int64_t size = 0;
};

/// The large files in the home folder, outside its Library, unchanged for half a year.
FileTotal oldLargeFiles(const ScanResult& scan, const Locations& locations, Timestamp now) {
    const Timestamp cutoff = now - oldFileDays * secondsPerDay;
    const std::string home = joinPath(locations.matchingForm().home, "");
    const std::string library = joinPath(home, "Library/");
    // A name holds no "/", so whether a file lies in the home folder and outside its Library
    // is decided by its folder's path alone: files of one folder come one after another in
    // walk order, and the path is rebuilt once for each folder that holds old large files.
    const FileNode* lastFolder = nullptr;
    bool lastCounts = false;
    FileTotal total;
    for (const FileNode* file : scan.files) {
        if (file->size() < largeFileSize || !(file->modified() < cutoff) || file->deleted()) {
            continue;
        }
        if (file->parent() != lastFolder || lastFolder == nullptr) {
            lastFolder = file->parent();
            const std::string folder =
                lastFolder != nullptr
                    ? joinPath(
                          MatchingPath::ofRealPath(lastFolder->path(), locations.dataVolume).text(),
                          "")
                    : std::string();
            lastCounts = folder.starts_with(home) && !folder.starts_with(library);
        }
        if (lastCounts) {
            ++total.count;
            total.size += file->size();
        }
    }
    return total;
}

Card oldLargeFilesCard(const ScanResult* scan, const Locations& locations, Timestamp now) {
    if (scan == nullptr) {
        return std::nullopt;
    }
    const FileTotal files = oldLargeFiles(*scan, locations, now);
    if (files.count == 0) {
        return std::nullopt;
    }
    // Made before the card: built inside it, the action makes g++ 12 warn at -O2 and above that
    // the variant's other alternatives may be read uninitialised.
    RecommendationAction showFiles = Actions::OpenLargeFiles{
        .filter = {.minSize = largeFileSize,
                   .modifiedOlderThanDays = oldFileDays,
                   .pathPrefix = joinPath(locations.matchingForm().home, "")}};
    return Recommendation{
        .id = "oldbig",
        .symbol = "clock.badge.exclamationmark.fill",
        .tint = cautionColor,
        .title = std::string(tr("Forgotten large files")),
        .detail = withCount(tr("%lld file(s) over 500 MB unchanged for 6 months."), files.count),
        .size = files.size,
        .action = std::move(showFiles),
    };
}

Card developerCard(const ScanResult* scan, std::span<const JunkFinding> junk,
                   const Locations& locations) {
    std::int64_t total = 0;
    // What goes to the Trash still takes space until the Trash is emptied.
    for (const DevItem& item : findDeveloperArtefacts(scan, junk, locations)) {
        if (item.removal == Removal::Permanent) {
            total += item.size;
        }
    }
    if (total <= developerThreshold) {
        return std::nullopt;
    }
    return Recommendation{
        .id = "dev",
        .symbol = "hammer.fill",
        .tint = color(StorageBucket::Developer),
        .title = std::string(tr("Developer artifacts")),
        .detail = std::string(
            tr("node_modules, virtual environments and builds that can be regenerated.")),
        .size = total,
        .action = Actions::OpenSection{.section = RecommendedSection::Developer},
    };
}

Card downloadsCard(const std::shared_ptr<const ScanResult>& scan, const Locations& locations) {
    if (scan == nullptr) {
        return std::nullopt;
    }
    // The lookup compares the scanned root as a whole path component, so a scan of a folder
    // named like the start of "Downloads" never stands for it.
    const MatchingPath path =
        MatchingPath::ofRealPath(locations.homePath("Downloads"), locations.dataVolume);
    const FileNode* downloads = nodeFromLastScan(*scan, path, locations.dataVolume);
    if (downloads == nullptr || downloads->size() <= downloadsThreshold) {
        return std::nullopt;
    }
    return Recommendation{
        .id = "downloads",
        .symbol = "arrow.down.circle.fill",
        .tint = accentSecondaryColor,
        .title = std::string(tr("Downloads folder")),
        .detail = std::string(tr("Review what you no longer need, sorted by size.")),
        .size = downloads->size(),
        .action = Actions::OpenExplorer{.scan = scan, .stack = folderChain(*downloads)},
    };
}

} // namespace

const JunkFinding* junkFinding(std::span<const JunkFinding> junk, std::string_view id) {
    const auto found = std::find_if(
        junk.begin(), junk.end(), [id](const JunkFinding& finding) { return finding.id() == id; });
    return found == junk.end() ? nullptr : &*found;
}

std::vector<Recommendation> buildRecommendations(const std::shared_ptr<const ScanResult>& scan,
                                                 std::span<const JunkFinding> junk,
                                                 const Locations& locations, Timestamp now) {
    const Card cards[] = {
        safeJunkCard(junk),
        trashCard(junk),
        installersCard(junk),
        backupsCard(junk),
        oldLargeFilesCard(scan.get(), locations, now),
        developerCard(scan.get(), junk, locations),
        downloadsCard(scan, locations),
    };
    std::vector<Recommendation> shown;
    for (const Card& card : cards) {
        if (card) {
            shown.push_back(*card);
        }
    }
    std::stable_sort(
        shown.begin(), shown.end(),
        [](const Recommendation& a, const Recommendation& b) { return a.size > b.size; });
    return shown;
}

} // namespace dorvale
