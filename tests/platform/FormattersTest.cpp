#include "platform/Formatters.hpp"

#include "platform/ByteFormatter.hpp"
#include "support/FixedClock.hpp"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdint>
#include <limits>

namespace dorvale {
namespace {

using test::FixedClock;

// Formatting follows the process's ICU locale; these tests pin English in UTC.
class FormattersTest : public ::testing::Test {
protected:
    void SetUp() override {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        ASSERT_TRUE(U_SUCCESS(status));
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
    }
};

TEST_F(FormattersTest, ByteCountsAtUnitBoundaries) {
    const struct {
        std::int64_t bytes;
        const char* text;
    } cases[] = {
        {std::numeric_limits<std::int64_t>::min(), "Zero KB"},
        {-1, "Zero KB"},
        {0, "Zero KB"},
        {1, "1 KB"},
        {999, "1 KB"},
        {1'000, "1 KB"},
        {1'499, "1 KB"},
        {1'500, "2 KB"},
        {2'500, "2 KB"},
        {4'096, "4 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {1'000'000, "1 MB"},
        {1'050'000, "1 MB"},
        {1'060'000, "1.1 MB"},
        {1'500'000, "1.5 MB"},
        {999'949'999, "999.9 MB"},
        {999'950'000, "1 GB"},
        {1'000'000'000, "1 GB"},
        {1'234'567'890, "1.23 GB"},
        {1'999'000'000, "2 GB"},
        {999'995'000'000, "1 TB"},
        {1'000'000'000'000, "1 TB"},
        {1'500'000'000'000'000, "1,500 TB"},
        {std::numeric_limits<std::int64_t>::max(), "9,223,372.04 TB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(byteFormatter().string(c.bytes), c.text) << c.bytes;
    }
}

TEST_F(FormattersTest, Percentages) {
    const struct {
        std::int64_t part;
        std::int64_t total;
        const char* text;
    } cases[] = {
        {0, 0, "0%"},     {5, -1, "0%"},       {1, 10'000'000, "<0.1%"}, {0, 100, "0.0%"},
        {5, 100, "5.0%"}, {42, 1'000, "4.2%"}, {99, 1'000, "9.9%"},      {1, 1'000, "0.1%"},
        {50, 100, "50%"}, {100, 100, "100%"},  {374, 1'000, "37%"},      {3, 2, "150%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(percentText(c.part, c.total), c.text) << c.part << " of " << c.total;
    }
}

TEST_F(FormattersTest, PercentagesFollowTheLocale) {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("de_DE"), status);
    EXPECT_EQ(percentText(5, 100), "5,0\u00A0%");
    EXPECT_EQ(byteFormatter().string(1'500'000), "1,5 MB");
}

TEST_F(FormattersTest, RelativeDates) {
    // 2024-06-15 12:00:00 UTC.
    constexpr Timestamp now = 1'718'452'800;
    const FixedClock clock(now);
    const struct {
        Timestamp date;
        const char* text;
    } cases[] = {
        {0, "—"},
        {secondsPerDay, "—"},
        {-5, "—"},
        {secondsPerDay + 1, "54 years ago"},
        {now, "now"},
        {now - 30, "30 seconds ago"},
        {now - 3 * 3'600, "3 hours ago"},
        {now - secondsPerDay, "yesterday"},
        {now - 1.5 * secondsPerDay, "yesterday"},
        {now - 3 * secondsPerDay, "3 days ago"},
        {now - 14 * secondsPerDay, "2 weeks ago"},
        {now - 62 * secondsPerDay, "2 months ago"},
        {now - 400 * secondsPerDay, "last year"},
        {now + 2 * secondsPerDay, "in 2 days"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(relativeText(c.date, clock), c.text) << c.date;
    }
}

TEST_F(FormattersTest, ShortDatesLeaveOutTheTimeAndUnknownDates) {
    const struct {
        Timestamp date;
        const char* text;
    } cases[] = {
        {0, "—"},
        {secondsPerDay, "—"},
        {-1, "—"},
        {std::numeric_limits<double>::quiet_NaN(), "—"},
        {secondsPerDay + 1, "Jan 2, 1970"},
        // 2024-03-04 23:59:59 UTC: the date only, in the local time zone.
        {1'709'596'799, "Mar 4, 2024"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortDateText(c.date), c.text) << c.date;
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("de_DE"), status);
    EXPECT_EQ(shortDateText(1'709'596'799), "04.03.2024");
}

TEST_F(FormattersTest, DatesWithTimesShowTheShortTime) {
    EXPECT_EQ(shortDateTimeText(0), "—");
    // 2024-03-04 15:07 UTC.
    EXPECT_EQ(shortDateTimeText(1'709'564'820), "Mar 4, 2024, 3:07 PM");
}

} // namespace
} // namespace dorvale
