#pragma once

#include "model/FileFilter.hpp"
#include "model/FileNode.hpp"
#include "model/Removal.hpp"
#include "model/Rgb.hpp"
#include "model/ScanResult.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dorvale {

/// The sections of the main window that a recommendation can open. The raw values are those
/// of the window's sections, so the application state can map them by name.
enum class RecommendedSection : std::uint8_t {
    SmartClean,
    Large,
    Junk,
    Developer,
    Explorer,
};

/// "smartClean", "large", "junk", "developer" or "explorer".
[[nodiscard]] std::string_view rawValue(RecommendedSection section);

/// One item a recommendation asks to delete: everything a plan item holds except the safety
/// verdict, which the application state computes for the path when it makes the plan.
struct PlanCandidate {
    std::string path{};
    /// The text shown for the row: the path's last component.
    std::string name{};
    std::int64_t size = 0;
    Removal removal = Removal::Permanent;

    bool operator==(const PlanCandidate&) const = default;
};

/// What a click on a card asks the application state to do. The core holds no reference to
/// the state: each action is a value that the state carries out on the GUI thread.
namespace RecommendationActions {

/// Show Quick Clean in its scanning phase, then start the smart-clean scan.
struct StartSmartClean {
    bool operator==(const StartSmartClean&) const = default;
};

/// Open the deletion confirmation for these items under this title. The items are those of
/// the junk finding as it was when the cards were built; the plan's own checks decide what
/// is really removed.
struct RequestDeletion {
    std::string title{};
    std::vector<PlanCandidate> items{};

    bool operator==(const RequestDeletion&) const = default;
};

/// Show a section.
struct OpenSection {
    RecommendedSection section = RecommendedSection::SmartClean;

    bool operator==(const OpenSection&) const = default;
};

/// Set the filter of the large-files list to `filter`, then show the section `large`.
struct OpenLargeFiles {
    FileFilter filter{};

    bool operator==(const OpenLargeFiles&) const = default;
};

/// Set the explorer's folder chain to `stack` (root first), then show the section
/// `explorer`. The nodes belong to `scan`, which the action keeps alive; the state applies
/// the chain only while `scan` is still its current result.
struct OpenExplorer {
    std::shared_ptr<const ScanResult> scan{};
    std::vector<const FileNode*> stack{};

    bool operator==(const OpenExplorer&) const = default;
};

} // namespace RecommendationActions

using RecommendationAction =
    std::variant<RecommendationActions::StartSmartClean, RecommendationActions::RequestDeletion,
                 RecommendationActions::OpenSection, RecommendationActions::OpenLargeFiles,
                 RecommendationActions::OpenExplorer>;

/// One card of the overview: a place where space can be won, with what a click does. A plain
/// value, identified by `id`.
struct Recommendation {
    /// Stable key of the card: "junk", "trash", "installers", "backups", "oldbig", "dev" or
    /// "downloads".
    std::string id{};
    /// Symbol name of the card's icon.
    std::string symbol{};
    /// Icon colour, one of the palette's.
    Rgb tint{};
    /// Title and one-line explanation, in the current language.
    std::string title{};
    std::string detail{};
    /// Bytes the card is about.
    std::int64_t size = 0;
    RecommendationAction action{};

    bool operator==(const Recommendation&) const = default;
};

} // namespace dorvale
