#include "platform/Text.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

TEST(ContainsIgnoringCase, FoldsBeyondAscii) {
    EXPECT_TRUE(containsIgnoringCase("Résumé Final.pdf", "RÉSUMÉ"));
    EXPECT_TRUE(containsIgnoringCase("ΣΟΦΊΑ", "σοφία"));
    EXPECT_TRUE(containsIgnoringCase("anything", ""));
    EXPECT_FALSE(containsIgnoringCase("short", "shorter"));
    EXPECT_FALSE(containsIgnoringCase("", "a"));
}

TEST(ContainsIgnoringCase, InvalidBytesMatchOnlyThemselves) {
    const std::string name = "bad\xFFname\xC3";
    EXPECT_TRUE(containsIgnoringCase(name, "NAME"));
    EXPECT_TRUE(containsIgnoringCase(name, "\xFFN"));
    EXPECT_FALSE(containsIgnoringCase(name, "\xEF\xBF\xBD"));
    EXPECT_FALSE(containsIgnoringCase(name, "\xFE"));
}

TEST(ToValidUtf8, ReplacesIllFormedSequences) {
    EXPECT_EQ(toValidUtf8("ok é"), "ok é");
    EXPECT_EQ(toValidUtf8("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(toValidUtf8("\xC3"), "\xEF\xBF\xBD");
}

TEST(Hex, WritesTwoDigitsPerByteAndReadsThemBack) {
    const std::string bytes("\x00\x0A\xFF\x7F", 4);
    EXPECT_EQ(toHex(bytes), "000aff7f");
    EXPECT_EQ(toHex(bytes, HexCase::Upper), "000AFF7F");
    EXPECT_EQ(fromHex("000aFF7f"), bytes);
    EXPECT_EQ(fromHex(""), "");
    EXPECT_EQ(fromHex("0aF"), std::nullopt);
    EXPECT_EQ(fromHex("0g"), std::nullopt);
}

TEST(NonEmptyLines, SplitsAtLineFeedsAndTrimsNothing) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(nonEmptyLines("a\n\n b \r\nlast"), (Lines{"a", " b \r", "last"}));
    EXPECT_EQ(nonEmptyLines("\n\n"), Lines{});
    EXPECT_EQ(nonEmptyLines(""), Lines{});
}

} // namespace
} // namespace dorvale
