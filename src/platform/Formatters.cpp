#include "platform/Formatters.hpp"

#include "platform/LocaleNumberFormat.hpp"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/measunit.h>
#include <unicode/numberformatter.h>
#include <unicode/reldatefmt.h>

#include <array>
#include <memory>

namespace dorvale {

namespace {

using icu::number::NumberFormatter;
using icu::number::Precision;
using icu::number::Scale;

// Dates up to one day after 1970 stand for "never known".
constexpr Timestamp earliestKnownDate = secondsPerDay;
constexpr double millisecondsPerSecond = 1000;

std::string utf8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

std::string formatPercent(double fraction, int fractionDigits) {
    thread_local LocaleNumberFormat format(1, [](const icu::Locale& locale, int digits) {
        return NumberFormatter::withLocale(locale)
            .unit(icu::MeasureUnit::getPercent())
            .scale(Scale::powerOfTen(2))
            .precision(Precision::fixedFraction(digits));
    });
    return format.format(fraction, fractionDigits);
}

// The relative-date formatter and a calendar of the current locale.
struct RelativeTools {
    std::string locale;
    std::unique_ptr<icu::RelativeDateTimeFormatter> formatter;
    std::unique_ptr<icu::Calendar> calendar;
};

RelativeTools* relativeTools() {
    thread_local RelativeTools tools;
    const icu::Locale& locale = icu::Locale::getDefault();
    if (tools.locale != locale.getName() || !tools.formatter || !tools.calendar) {
        UErrorCode status = U_ZERO_ERROR;
        auto formatter = std::make_unique<icu::RelativeDateTimeFormatter>(
            locale, nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE, status);
        std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
        if (U_FAILURE(status)) {
            return nullptr;
        }
        tools = {locale.getName(), std::move(formatter), std::move(calendar)};
    }
    return &tools;
}

struct Offset {
    double amount = 0;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
};

// Walks the calendar from now to `date` unit by unit, largest first, and keeps the first
// unit that changes; its count (negative for the past) is the offset to show.
Offset largestOffset(icu::Calendar& calendar, Timestamp now, Timestamp date) {
    struct Step {
        UCalendarDateFields field;
        URelativeDateTimeUnit unit;
    };
    static constexpr Step steps[] = {
        {UCAL_YEAR, UDAT_REL_UNIT_YEAR},         {UCAL_MONTH, UDAT_REL_UNIT_MONTH},
        {UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK}, {UCAL_DATE, UDAT_REL_UNIT_DAY},
        {UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR},  {UCAL_MINUTE, UDAT_REL_UNIT_MINUTE},
        {UCAL_SECOND, UDAT_REL_UNIT_SECOND},
    };
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(now * millisecondsPerSecond, status);
    const UDate target = date * millisecondsPerSecond;
    for (const Step& step : steps) {
        const int32_t difference = calendar.fieldDifference(target, step.field, status);
        if (U_FAILURE(status)) {
            break;
        }
        if (difference != 0) {
            return {static_cast<double>(difference), step.unit};
        }
    }
    return {};
}

// The abbreviated date format of the current locale, with the short time or without one.
icu::DateFormat* shortDateFormat(icu::DateFormat::EStyle time) {
    struct Cached {
        std::string locale;
        std::unique_ptr<icu::DateFormat> format;
    };
    thread_local Cached withoutTime;
    thread_local Cached withTime;
    Cached& cached = time == icu::DateFormat::kNone ? withoutTime : withTime;
    const icu::Locale& current = icu::Locale::getDefault();
    if (!cached.format || cached.locale != current.getName()) {
        cached.format.reset(
            icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium, time, current));
        cached.locale = current.getName();
    }
    return cached.format.get();
}

std::string formatDate(Timestamp date, icu::DateFormat::EStyle time) {
    icu::DateFormat* format = date > earliestKnownDate ? shortDateFormat(time) : nullptr;
    if (format == nullptr) {
        return "—";
    }
    icu::UnicodeString text;
    format->format(date * millisecondsPerSecond, text);
    return utf8(text);
}

} // namespace

std::string percentText(std::int64_t part, std::int64_t total) {
    if (total < 1) {
        return formatPercent(0, 0);
    }
    const double fraction = static_cast<double>(part) / static_cast<double>(total);
    if (fraction < 0.001 && part >= 1) {
        return "<" + formatPercent(0.001, 1);
    }
    return formatPercent(fraction, fraction < 0.1 ? 1 : 0);
}

std::string relativeText(Timestamp date, const Clock& clock) {
    if (!(date > earliestKnownDate)) {
        return "—";
    }
    RelativeTools* tools = relativeTools();
    if (tools == nullptr) {
        return "—";
    }
    const Offset offset = largestOffset(*tools->calendar, clock.now(), date);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    tools->formatter->format(offset.amount, offset.unit, text, status);
    return U_SUCCESS(status) ? utf8(text) : std::string();
}

std::string shortDateText(Timestamp date) {
    return formatDate(date, icu::DateFormat::kNone);
}

std::string shortDateTimeText(Timestamp date) {
    return formatDate(date, icu::DateFormat::kShort);
}

} // namespace dorvale
