#pragma once

#include "model/JunkRule.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dorvale {

/// One deletable child of a junk rule's base folder.
struct JunkItem {
    /// The child's absolute path, exactly as the base folder and the listed name make it
    /// (raw bytes, not resolved through links), so it also serves as the item's location.
    std::string id{};
    /// The `id` of the rule that found it.
    std::string ruleID{};
    /// Allocated bytes of the item and everything beneath it; at least 1.
    std::int64_t size = 0;
    /// Non-folder entries in and beneath the item (1 for a plain file).
    std::int64_t fileCount = 0;
    /// The item's own modification time in whole seconds, when it could be read.
    std::optional<Timestamp> modified{};

    bool operator==(const JunkItem&) const = default;
};

/// What one rule found.
struct JunkFinding {
    JunkRule rule{};
    /// Largest first; items of equal size keep the order the folder listed them in.
    std::vector<JunkItem> items{};

    [[nodiscard]] const std::string& id() const { return rule.id; }
    /// The sum of the items' sizes.
    [[nodiscard]] std::int64_t totalSize() const;
};

} // namespace dorvale
