#include "app/AppSection.hpp"

#include "platform/RawValue.hpp"

#include <QCoreApplication>

namespace dorvale {

namespace {

struct SectionInfo {
    std::string_view raw;
    const char* title;
    std::string_view symbol;
};

constexpr std::array<SectionInfo, allAppSections.size()> sectionInfo = {{
    {"smartClean", QT_TRANSLATE_NOOP("AppSection", "Quick Clean"), "wand.and.stars"},
    {"overview", QT_TRANSLATE_NOOP("AppSection", "Overview"), "chart.pie.fill"},
    {"explorer", QT_TRANSLATE_NOOP("AppSection", "Explorer"), "folder.fill"},
    {"types", QT_TRANSLATE_NOOP("AppSection", "By Type"), "square.stack.3d.up.fill"},
    {"large", QT_TRANSLATE_NOOP("AppSection", "Large & Old"), "arrow.up.left.and.arrow.down.right"},
    {"systemData", QT_TRANSLATE_NOOP("AppSection", "System Data"), "gearshape.2.fill"},
    {"apps", QT_TRANSLATE_NOOP("AppSection", "Applications"), "square.grid.2x2.fill"},
    {"leftovers", QT_TRANSLATE_NOOP("AppSection", "App Leftovers"), "puzzlepiece.extension.fill"},
    {"loginItems", QT_TRANSLATE_NOOP("AppSection", "Login Items"), "power.circle.fill"},
    {"junk", QT_TRANSLATE_NOOP("AppSection", "Junk"), "sparkles"},
    {"developer", QT_TRANSLATE_NOOP("AppSection", "Developer"), "hammer.fill"},
    {"duplicates", QT_TRANSLATE_NOOP("AppSection", "Duplicates"), "doc.on.doc.fill"},
    {"history", QT_TRANSLATE_NOOP("AppSection", "History"), "clock.arrow.circlepath"},
}};

const SectionInfo& info(AppSection section) {
    return sectionInfo[static_cast<std::size_t>(section)];
}

} // namespace

std::string_view rawValue(AppSection section) {
    return info(section).raw;
}

std::optional<AppSection> appSectionFromRaw(std::string_view raw) {
    return findByRawValue(allAppSections, raw);
}

QString title(AppSection section) {
    return QCoreApplication::translate("AppSection", info(section).title);
}

std::string_view symbolName(AppSection section) {
    return info(section).symbol;
}

} // namespace dorvale
