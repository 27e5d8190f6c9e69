#pragma once

#include "model/JunkGroup.hpp"
#include "model/Removal.hpp"
#include "model/Risk.hpp"
#include "platform/Locations.hpp"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One place where regenerable or forgotten data collects. The direct children of the base
/// folder are the rule's items, filtered by `excludedNames`, `extensions` and `minAgeDays`.
struct JunkRule {
    using Names = std::set<std::string, std::less<>>;

    /// Stable key; junk items carry it as their `ruleID`.
    std::string id{};
    JunkGroup group = JunkGroup::System;
    /// Display name, in the current language.
    std::string title{};
    /// One or two sentences shown under the title, in the current language.
    std::string explanation{};
    Risk risk = Risk::Safe;
    /// Relative to the home folder unless it begins with "/"; ".Trash" stands for the
    /// user's Trash folder. `basePath` gives the folder itself.
    std::string base{};
    Removal removal = Removal::Permanent;
    /// Whether the smart clean selects the rule when it starts, and whether the scheduled
    /// clean may consider it.
    bool inSmartClean = false;
    /// When present, only children whose lower-cased extension is in the set are items.
    std::optional<Names> extensions{};
    /// When present, only children modified at least this many days ago are items.
    std::optional<int> minAgeDays{};
    /// Child names (exact, case-sensitive) that are never items.
    Names excludedNames{};

    bool operator==(const JunkRule&) const = default;

    /// The built-in catalogue in its fixed order. Built once, on first use from any thread,
    /// and never changed afterwards, so references into it stay valid for the whole run.
    [[nodiscard]] static const std::vector<JunkRule>& all();

    /// The catalogue rule that owns `path` (an absolute path, taken lexically), or nothing.
    /// Rules are tried in catalogue order; a path under a rule's base whose first component
    /// there is an excluded name belongs to no rule at all. Says which rule a path belongs
    /// to, not whether the junk scan would offer it now (".DS_Store", age and size are not
    /// looked at).
    [[nodiscard]] static const JunkRule* ruleForPath(std::string_view path,
                                                     const Locations& locations);

    /// The base folder as an absolute path: relative bases beneath the home folder,
    /// absolute ones beneath the system root, and ".Trash" as the user's Trash folder.
    [[nodiscard]] std::string basePath(const Locations& locations) const;

    /// Whether a child called `name` passes the extension filter: always when the rule has
    /// none, otherwise when the name's lower-cased extension is in the set. A name without
    /// an extension never passes a filter.
    [[nodiscard]] bool acceptsExtension(std::string_view name) const;
};

/// The text after the last "." of a file name, lower-cased (ASCII letters only); empty when
/// there is none, when the name ends with the dot, or when its only dot leads the name
/// (".bashrc").
[[nodiscard]] std::string lowercasePathExtension(std::string_view name);

} // namespace dorvale
