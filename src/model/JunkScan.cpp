#include "model/JunkScan.hpp"

#include "model/Scanner.hpp"
#include "platform/FileDates.hpp"
#include "platform/FolderListing.hpp"
#include "platform/ParallelMap.hpp"
#include "platform/Paths.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

namespace dorvale::JunkScan {

namespace {

// Application containers are closed to a program without full disk access; trying them
// would only end in a permission failure.
constexpr std::string_view containersPrefix = "Library/Containers/";

bool passesNameFilters(const JunkRule& rule, std::string_view name) {
    if (rule.excludedNames.contains(name)) {
        return false;
    }
    // Folder view settings are noise everywhere except in the Trash, where emptying means
    // removing everything.
    if (name == ".DS_Store" && rule.id != "trash") {
        return false;
    }
    return rule.acceptsExtension(name);
}

// The item a child of the base folder makes, or nothing when a filter rejects it or there
// is nothing to reclaim. A child that vanished since the listing has no date and measures
// nothing, so it is dropped like an empty one.
std::optional<JunkItem> examineChild(const JunkRule& rule, const std::string& base,
                                     std::string_view name, std::optional<Timestamp> cutoff) {
    if (!passesNameFilters(rule, name)) {
        return std::nullopt;
    }
    // The path stays exactly base + "/" + name: later steps (such as removing an item's
    // description from the Trash) recognise where it lies from the text alone.
    std::string path = joinPath(base, name);
    const std::optional<Timestamp> modified = contentModificationDate(path);
    if (cutoff && modified && *modified > *cutoff) {
        return std::nullopt;
    }
    const DirectorySize measured = Scanner::directorySize(path);
    if (measured.bytes < 1 || measured.count < 1) {
        return std::nullopt;
    }
    return JunkItem{.id = std::move(path),
                    .ruleID = rule.id,
                    .size = measured.bytes,
                    .fileCount = measured.count,
                    .modified = modified};
}

template <typename T, typename Size>
void sortLargestFirst(std::vector<T>& values, Size size) {
    std::stable_sort(values.begin(), values.end(),
                     [&](const T& a, const T& b) { return size(a) > size(b); });
}

} // namespace

std::optional<JunkFinding> collectItems(const JunkRule& rule, const Locations& locations,
                                        const Clock& clock) {
    const std::string base = rule.basePath(locations);
    const auto names = listFolder(base);
    if (!names) {
        return std::nullopt;
    }
    std::optional<Timestamp> cutoff;
    if (rule.minAgeDays) {
        cutoff = clock.now() - *rule.minAgeDays * secondsPerDay;
    }
    JunkFinding finding{.rule = rule, .items = {}};
    for (const std::string& name : *names) {
        if (auto item = examineChild(rule, base, name, cutoff)) {
            finding.items.push_back(std::move(*item));
        }
    }
    sortLargestFirst(finding.items, [](const JunkItem& item) { return item.size; });
    return finding;
}

std::vector<JunkFinding> scanRules(std::span<const JunkRule> rules, const Locations& locations,
                                   const Clock& clock, const AccessProbe& hasFullDiskAccess) {
    const bool granted = hasFullDiskAccess(locations);
    std::vector<const JunkRule*> kept;
    for (const JunkRule& rule : rules) {
        if (granted || !rule.base.starts_with(containersPrefix)) {
            kept.push_back(&rule);
        }
    }
    // Results come back in the order of the rules, whichever finishes first, so equal
    // totals always end up in catalogue order.
    auto results = parallelMap(std::span<const JunkRule* const>(kept), [&](const JunkRule* rule) {
        return collectItems(*rule, locations, clock);
    });
    std::vector<JunkFinding> findings;
    for (auto& result : results) {
        if (result && !result->items.empty()) {
            findings.push_back(std::move(*result));
        }
    }
    sortLargestFirst(findings, [](const JunkFinding& finding) { return finding.totalSize(); });
    return findings;
}

} // namespace dorvale::JunkScan
