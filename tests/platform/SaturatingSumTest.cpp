#include "platform/SaturatingSum.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace dorvale {
namespace {

constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t smallest = std::numeric_limits<std::int64_t>::min();

TEST(SaturatingSum, AddsAndHoldsAtEitherEndInsteadOfWrapping) {
    EXPECT_EQ(saturatingSum(2, 3), 5);
    EXPECT_EQ(saturatingSum(largest - 1, 1), largest);
    EXPECT_EQ(saturatingSum(largest, 1), largest);
    EXPECT_EQ(saturatingSum(largest, largest), largest);
    EXPECT_EQ(saturatingSum(largest, -1), largest - 1);
    EXPECT_EQ(saturatingSum(smallest, -1), smallest);
    EXPECT_EQ(saturatingSum(-5, largest), largest - 5);
}

} // namespace
} // namespace dorvale
