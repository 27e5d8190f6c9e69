#pragma once

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

#include <optional>
#include <string>
#include <vector>

namespace dorvale {

/// Writes numbers as the current default locale does, with 0 up to a set most of fraction
/// digits. One function makes the formatter for each count of digits; they are made again only
/// when the default locale changes. Not for sharing between threads: keep one per thread.
class LocaleNumberFormat {
public:
    using Make = icu::number::LocalizedNumberFormatter (*)(const icu::Locale& locale,
                                                           int fractionDigits);

    LocaleNumberFormat(int mostFractionDigits, Make make);

    /// `value` with `fractionDigits` (0 to the most) fraction digits, as UTF-8; empty when
    /// formatting fails.
    [[nodiscard]] std::string format(double value, int fractionDigits);

private:
    Make m_make;
    std::string m_locale;
    std::vector<std::optional<icu::number::LocalizedNumberFormatter>> m_formatters;
};

} // namespace dorvale
