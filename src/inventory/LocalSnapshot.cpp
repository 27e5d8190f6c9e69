#include "inventory/LocalSnapshot.hpp"

#include "platform/Text.hpp"
#include "platform/Tr.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>

namespace dorvale {

namespace {

constexpr const char* toolPath = "/usr/bin/tmutil";
constexpr std::string_view snapshotPrefix = "com.apple.";

const auto* bytesOf(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// Tabs and the Unicode space separators, but no line breaks.
bool isBlank(UChar32 c) {
    return c == '\t' || (c >= 0 && u_charType(c) == U_SPACE_SEPARATOR);
}

std::string_view trimmedBlanks(std::string_view text) {
    const auto* bytes = bytesOf(text);
    auto length = static_cast<std::int32_t>(text.size());
    std::int32_t start = 0;
    while (start < length) {
        std::int32_t next = start;
        UChar32 c = 0;
        U8_NEXT(bytes, next, length, c);
        if (!isBlank(c)) {
            break;
        }
        start = next;
    }
    while (length > start) {
        std::int32_t previous = length;
        UChar32 c = 0;
        U8_PREV(bytes, start, previous, c);
        if (!isBlank(c)) {
            break;
        }
        length = previous;
    }
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length - start));
}

std::optional<int> digits(std::string_view text, std::size_t offset, std::size_t count) {
    int value = 0;
    for (std::size_t i = offset; i < offset + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Whatever the platform counts as a number character, as a numeric type other than none.
bool isNumberCharacter(UChar32 c) {
    return c >= 0 && u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

} // namespace

std::optional<std::string_view> LocalSnapshots::dateStamp(std::string_view name) {
    std::size_t piece = 0;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('.', start);
        if (end == std::string_view::npos) {
            end = name.size();
        }
        if (end > start && piece++ == 3) {
            return name.substr(start, end - start);
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<Timestamp> LocalSnapshots::parseDate(std::string_view stamp) {
    // yyyy-MM-dd-HHmmss
    if (stamp.size() != 17 || stamp[4] != '-' || stamp[7] != '-' || stamp[10] != '-') {
        return std::nullopt;
    }
    const auto year = digits(stamp, 0, 4);
    const auto month = digits(stamp, 5, 2);
    const auto day = digits(stamp, 8, 2);
    const auto hour = digits(stamp, 11, 2);
    const auto minute = digits(stamp, 13, 2);
    const auto second = digits(stamp, 15, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok() || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    // The fields are valid, so mktime only has to place the wall-clock time in the local
    // time zone, daylight saving time included.
    std::tm local{};
    local.tm_year = *year - 1900;
    local.tm_mon = *month - 1;
    local.tm_mday = *day;
    local.tm_hour = *hour;
    local.tm_min = *minute;
    local.tm_sec = *second;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    if (time == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return static_cast<Timestamp>(time);
}

bool LocalSnapshots::isAcceptableStamp(std::string_view stamp) {
    if (stamp.empty() || stamp.front() == '-') {
        return false;
    }
    const auto* bytes = bytesOf(stamp);
    const auto length = static_cast<std::int32_t>(stamp.size());
    std::int32_t offset = 0;
    while (offset < length) {
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        if (c != '-' && !isNumberCharacter(c)) {
            return false;
        }
    }
    return true;
}

std::vector<LocalSnapshot> LocalSnapshots::list(const ProcessRunner& runner) {
    const std::string output = runner.run(toolPath, {"listlocalsnapshots", "/"});
    std::vector<LocalSnapshot> snapshots;
    for (const std::string_view line : nonEmptyLines(output)) {
        const std::string_view name = trimmedBlanks(line);
        if (!name.starts_with(snapshotPrefix)) {
            continue;
        }
        const std::optional<std::string_view> stamp = dateStamp(name);
        snapshots.push_back({std::string(name), stamp ? parseDate(*stamp) : std::nullopt});
    }
    std::stable_sort(snapshots.begin(), snapshots.end(),
                     [](const LocalSnapshot& a, const LocalSnapshot& b) {
                         return a.date.has_value() && (!b.date || *a.date > *b.date);
                     });
    return snapshots;
}

std::optional<std::string> LocalSnapshots::deleteSnapshot(const LocalSnapshot& snapshot,
                                                          const AdministratorRunner& runner) {
    const std::optional<std::string_view> stamp = dateStamp(snapshot.name);
    if (!stamp || !isAcceptableStamp(*stamp)) {
        return std::string(tr("Unrecognised snapshot name."));
    }
    // The stamp travels as one argument of its own; no shell ever reads it.
    return administratorMessage(runner.run({toolPath, "deletelocalsnapshots", std::string(*stamp)}),
                                "Couldn't delete the snapshot.");
}

} // namespace dorvale
