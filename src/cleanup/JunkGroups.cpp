#include "cleanup/JunkGroups.hpp"

#include <algorithm>

namespace dorvale {

std::vector<JunkGroupFindings> groupedJunk(const std::vector<JunkFinding>& junk) {
    std::vector<JunkGroupFindings> groups;
    for (const JunkGroup group : allJunkGroups) {
        JunkGroupFindings shown{.group = group, .findings = {}};
        for (const JunkFinding& finding : junk) {
            if (finding.rule.group == group && !finding.items.empty()) {
                shown.findings.push_back(&finding);
            }
        }
        if (!shown.findings.empty()) {
            groups.push_back(std::move(shown));
        }
    }
    return groups;
}

bool holdsJunk(const std::vector<JunkFinding>& junk) {
    return std::any_of(junk.begin(), junk.end(),
                       [](const JunkFinding& finding) { return !finding.items.empty(); });
}

QString junkGroupTitle(JunkGroup group) {
    const std::string_view text = title(group);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString junkGroupSymbol(JunkGroup group) {
    switch (group) {
    case JunkGroup::System:
        return QStringLiteral("sparkles");
    case JunkGroup::Trash:
        return QStringLiteral("trash.fill");
    case JunkGroup::Mail:
        return QStringLiteral("paperclip");
    case JunkGroup::Developer:
        return QStringLiteral("hammer.fill");
    case JunkGroup::Devices:
        return QStringLiteral("iphone");
    case JunkGroup::Downloads:
        return QStringLiteral("arrow.down.circle.fill");
    }
    return QStringLiteral("sparkles");
}

} // namespace dorvale
