#pragma once

#include "platform/Clock.hpp"

#include <cstdint>
#include <string>

// Percentages and dates in the current ICU locale (ICU takes it from the environment:
// LC_ALL, LC_MESSAGES, LANG) and, for dates, the local time zone. They keep no state of
// their own (their ICU formatters are cached per thread) and may be called from any thread.
namespace dorvale {

/// `part` of `total` as a percentage: "0%" when `total` is below 1; "<0.1%" for a share
/// below 0.001 of a `part` of at least 1; one fraction digit below 10% ("4.2%", "0.0%"),
/// none from there on ("37%").
[[nodiscard]] std::string percentText(std::int64_t part, std::int64_t total);

/// `date` relative to the clock's now, with named forms where the language has them
/// ("yesterday", "2 weeks ago", "in 3 hours"), in the largest calendar unit (years, months,
/// weeks, days, hours, minutes, seconds) that separates the two. A date not more than a day
/// after 1970 (an unknown date is stored as 0) is "—".
[[nodiscard]] std::string relativeText(Timestamp date, const Clock& clock = Clock::system());

/// `date` as the abbreviated local date without a time ("Mar 4, 2024"), as lists show
/// dates. A date not more than a day after 1970 is "—", as for `relativeText`.
[[nodiscard]] std::string shortDateText(Timestamp date);
/// The same date with its short local time ("Mar 4, 2024, 3:15 PM"); "—" as above.
[[nodiscard]] std::string shortDateTimeText(Timestamp date);

} // namespace dorvale
