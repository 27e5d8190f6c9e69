#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// How often the automatic clean runs. Stored in the "cleanSchedule" setting by its raw value.
enum class CleanSchedule : std::uint8_t {
    Off,
    Daily,
    Weekly,
    Monthly,
};

/// Every schedule, in the order the settings picker lists them.
inline constexpr std::array allCleanSchedules = {
    CleanSchedule::Off,
    CleanSchedule::Daily,
    CleanSchedule::Weekly,
    CleanSchedule::Monthly,
};

/// "off", "daily", "weekly" or "monthly".
[[nodiscard]] std::string_view rawValue(CleanSchedule schedule);
/// The schedule whose raw value is exactly `raw` (case-sensitive), or nothing.
[[nodiscard]] std::optional<CleanSchedule> cleanScheduleFromRaw(std::string_view raw);
/// "Off", "Every day", "Every week" or "Every month", in the current language.
[[nodiscard]] QString title(CleanSchedule schedule);
/// Seconds between two automatic cleans: a day, a week or 30 days; nothing for `Off`, which
/// never runs.
[[nodiscard]] std::optional<std::int64_t> periodSeconds(CleanSchedule schedule);

} // namespace dorvale
