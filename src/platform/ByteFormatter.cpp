#include "platform/ByteFormatter.hpp"

#include "platform/LocaleNumberFormat.hpp"
#include "platform/Tr.hpp"

#include <array>
#include <cmath>
#include <string_view>

namespace dorvale {

namespace {

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

std::string formatNumber(double value, int fractionDigits) {
    thread_local LocaleNumberFormat format(2, [](const icu::Locale& locale, int digits) {
        return NumberFormatter::withLocale(locale).precision(Precision::maxFraction(digits));
    });
    return format.format(value, fractionDigits);
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
