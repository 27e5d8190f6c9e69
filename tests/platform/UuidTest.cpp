#include "platform/Uuid.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

TEST(Uuid, RandomIsVersionFourInUpperCase) {
    const Uuid id = Uuid::random();
    const std::string text = id.text();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
    EXPECT_EQ(Uuid::parse(text), id);
    EXPECT_NE(Uuid::random(), id);
}

TEST(Uuid, ParsesOnlyTheCanonicalFormInEitherCase) {
    const auto upper = Uuid::parse("0123ABCD-4567-89EF-0123-456789ABCDEF");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->text(), "0123ABCD-4567-89EF-0123-456789ABCDEF");
    EXPECT_EQ(Uuid::parse("0123abcd-4567-89ef-0123-456789abcdef"), upper);
    for (const char* bad :
         {"", "0123ABCD456789EF0123456789ABCDEF", "0123ABCD-4567-89EF-0123-456789ABCDE",
          "0123ABCD-4567-89EF-0123-456789ABCDEFF", "0123ABCD-4567-89EF-0123_456789ABCDEF",
          "0123ABCG-4567-89EF-0123-456789ABCDEF", "{0123ABCD-4567-89EF-0123-456789ABCD}"}) {
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
    }
}

} // namespace
} // namespace dorvale
