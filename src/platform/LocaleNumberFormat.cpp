#include "platform/LocaleNumberFormat.hpp"

namespace dorvale {

LocaleNumberFormat::LocaleNumberFormat(int mostFractionDigits, Make make)
    : m_make(make)
    , m_formatters(static_cast<std::size_t>(mostFractionDigits) + 1) {}

std::string LocaleNumberFormat::format(double value, int fractionDigits) {
    const icu::Locale& locale = icu::Locale::getDefault();
    if (m_locale != locale.getName()) {
        m_locale = locale.getName();
        for (std::size_t digits = 0; digits < m_formatters.size(); ++digits) {
            m_formatters[digits] = m_make(locale, static_cast<int>(digits));
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = m_formatters[static_cast<std::size_t>(fractionDigits)]
                                        ->formatDouble(value, status)
                                        .toString(status);
    std::string result;
    if (U_SUCCESS(status)) {
        text.toUTF8String(result);
    }
    return result;
}

} // namespace dorvale
