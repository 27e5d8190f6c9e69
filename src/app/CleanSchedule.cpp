#include "app/CleanSchedule.hpp"

#include "platform/Clock.hpp"
#include "platform/RawValue.hpp"

#include <QCoreApplication>

namespace dorvale {

namespace {

// Periods are whole seconds.
constexpr auto day = static_cast<std::int64_t>(secondsPerDay);

struct ScheduleInfo {
    std::string_view raw;
    const char* title;
    std::optional<std::int64_t> period;
};

constexpr std::array<ScheduleInfo, allCleanSchedules.size()> scheduleInfo = {{
    {"off", QT_TRANSLATE_NOOP("CleanSchedule", "Off"), std::nullopt},
    {"daily", QT_TRANSLATE_NOOP("CleanSchedule", "Every day"), day},
    {"weekly", QT_TRANSLATE_NOOP("CleanSchedule", "Every week"), 7 * day},
    {"monthly", QT_TRANSLATE_NOOP("CleanSchedule", "Every month"), 30 * day},
}};

const ScheduleInfo& info(CleanSchedule schedule) {
    return scheduleInfo[static_cast<std::size_t>(schedule)];
}

} // namespace

std::string_view rawValue(CleanSchedule schedule) {
    return info(schedule).raw;
}

std::optional<CleanSchedule> cleanScheduleFromRaw(std::string_view raw) {
    return findByRawValue(allCleanSchedules, raw);
}

QString title(CleanSchedule schedule) {
    return QCoreApplication::translate("CleanSchedule", info(schedule).title);
}

std::optional<std::int64_t> periodSeconds(CleanSchedule schedule) {
    return info(schedule).period;
}

} // namespace dorvale
