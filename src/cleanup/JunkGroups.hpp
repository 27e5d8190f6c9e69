#pragma once

#include "model/JunkFinding.hpp"
#include "model/JunkGroup.hpp"

#include <QString>

#include <vector>

namespace dorvale {

/// The findings of one junk group, in the order of the published junk.
struct JunkGroupFindings {
    JunkGroup group = JunkGroup::System;
    std::vector<const JunkFinding*> findings;
};

/// The junk as the screens show it: a group for each junk group that has findings, in the
/// groups' fixed order. A finding whose items a deletion took away stays in the published
/// junk but is left out here, so no screen shows an empty rule. The pointers point into
/// `junk`.
[[nodiscard]] std::vector<JunkGroupFindings> groupedJunk(const std::vector<JunkFinding>& junk);
/// Whether any finding of `junk` holds an item: junk of only emptied findings counts as none.
[[nodiscard]] bool holdsJunk(const std::vector<JunkFinding>& junk);

/// The group's title in the current language.
[[nodiscard]] QString junkGroupTitle(JunkGroup group);
/// The symbol that heads the group's section or card.
[[nodiscard]] QString junkGroupSymbol(JunkGroup group);

} // namespace dorvale
