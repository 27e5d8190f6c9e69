#include "platform/ByteFormatter.hpp"

#include "platform/Tr.hpp"

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

namespace dorvale {

namespace {

using icu::number::LocalizedNumberFormatter;
using icu::number::NumberFormatter;
using icu::number::Precision;

struct Unit {
    double size;
    int fractionDigits;
    std::string_view name;
};

constexpr std::size_t unitCount = 4;

const std::array<Unit, unitCount>& units() {
    static const std::array<Unit, unitCount> table{{
        {1e3, 0, tr("KB")},
        {1e6, 1, tr("MB")},
        {1e9, 2, tr("GB")},
        {1e12, 2, tr("TB")},
    }};
    return table;
}

// The number formatters of the current locale, one per count of fraction digits, made
// again only when the default locale changes.
const LocalizedNumberFormatter& numberFormatter(int fractionDigits) {
    struct Cache {
        std::string locale;
        std::array<std::optional<LocalizedNumberFormatter>, 3> formatters;
    };
    thread_local Cache cache;
    const icu::Locale& locale = icu::Locale::getDefault();
    if (cache.locale != locale.getName()) {
        cache.locale = locale.getName();
        for (int digits = 0; digits < 3; ++digits) {
            cache.formatters[static_cast<std::size_t>(digits)] =
                NumberFormatter::withLocale(locale).precision(Precision::maxFraction(digits));
        }
    }
    return *cache.formatters[static_cast<std::size_t>(fractionDigits)];
}

std::string formatNumber(double value, int fractionDigits) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text =
        numberFormatter(fractionDigits).formatDouble(value, status).toString(status);
    std::string result;
    if (U_SUCCESS(status)) {
        text.toUTF8String(result);
    }
    return result;
}

// Rounds half to even at the unit's precision, as the number will be shown.
double rounded(double value, int fractionDigits) {
    const double scale = std::pow(10.0, fractionDigits);
    return std::nearbyint(value * scale) / scale;
}

} // namespace

std::string ByteFormatter::string(std::int64_t byteCount) const {
    if (byteCount <= 0) {
        return std::string(tr("Zero KB"));
    }
    const auto& table = units();
    std::size_t unit = 0;
    while (unit + 1 < unitCount && static_cast<double>(byteCount) >= table[unit + 1].size) {
        ++unit;
    }
    double value =
        rounded(static_cast<double>(byteCount) / table[unit].size, table[unit].fractionDigits);
    if (value >= 1000 && unit + 1 < unitCount) {
        ++unit;
        value =
            rounded(static_cast<double>(byteCount) / table[unit].size, table[unit].fractionDigits);
    }
    // Less than a kilobyte still shows as something.
    value = std::max(value, 1.0);
    return formatNumber(value, table[unit].fractionDigits) + " " + std::string(table[unit].name);
}

const ByteFormatter& byteFormatter() {
    static const ByteFormatter formatter;
    return formatter;
}

} // namespace dorvale
