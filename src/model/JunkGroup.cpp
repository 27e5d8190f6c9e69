#include "model/JunkGroup.hpp"

#include "platform/RawValue.hpp"
#include "platform/Tr.hpp"

namespace dorvale {

namespace {

constexpr std::array<std::string_view, allJunkGroups.size()> rawValues = {
    "system", "trash", "mail", "developer", "devices", "downloads",
};

} // namespace

std::string_view rawValue(JunkGroup group) {
    return rawValues[static_cast<std::size_t>(group)];
}

std::optional<JunkGroup> junkGroupFromRaw(std::string_view raw) {
    return findByRawValue(allJunkGroups, raw);
}

std::string_view title(JunkGroup group) {
    switch (group) {
    case JunkGroup::System:
        return tr("System Junk");
    case JunkGroup::Trash:
        return tr("Trash");
    case JunkGroup::Mail:
        return tr("Mail");
    case JunkGroup::Developer:
        return tr("Developer");
    case JunkGroup::Devices:
        return tr("iPhone & iPad");
    case JunkGroup::Downloads:
        return tr("Downloads");
    }
    return {};
}

} // namespace dorvale
