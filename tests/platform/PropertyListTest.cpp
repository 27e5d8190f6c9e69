#include "platform/PropertyList.hpp"

#include "support/FixtureTree.hpp"
#include "support/HostileFiles.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dorvale {
namespace {

constexpr std::string_view xmlInfo = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
	<key>CFBundleIdentifier</key>
	<string>com.example.Editor</string>
	<key>CFBundleExecutable</key>
	<string>Editor</string>
	<key>Count</key>
	<integer>-3</integer>
	<key>Ratio</key>
	<real>0.5</real>
	<key>LSUIElement</key>
	<true/>
	<key>Released</key>
	<date>2024-01-02T03:04:05Z</date>
	<key>Blob</key>
	<data>AP8=</data>
	<key>Args</key>
	<array>
		<string>a</string>
		<string>b</string>
	</array>
	<key>Nested</key>
	<dict>
		<key>Name</key>
		<string>Wörter</string>
	</dict>
</dict>
</plist>
)";

// The same kind of dictionary written by another program as a binary property list.
constexpr char binaryInfoBytes[] =
    "\x62\x70\x6c\x69\x73\x74\x30\x30\xd9\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0d\x0e\x0f"
    "\x10\x11\x12\x13\x14\x54\x41\x72\x67\x73\x54\x42\x6c\x6f\x62\x5f\x10\x12\x43\x46\x42\x75"
    "\x6e\x64\x6c\x65\x45\x78\x65\x63\x75\x74\x61\x62\x6c\x65\x5f\x10\x12\x43\x46\x42\x75\x6e"
    "\x64\x6c\x65\x49\x64\x65\x6e\x74\x69\x66\x69\x65\x72\x5f\x10\x1a\x43\x46\x42\x75\x6e\x64"
    "\x6c\x65\x53\x68\x6f\x72\x74\x56\x65\x72\x73\x69\x6f\x6e\x53\x74\x72\x69\x6e\x67\x55\x43"
    "\x6f\x75\x6e\x74\x5b\x4c\x53\x55\x49\x45\x6c\x65\x6d\x65\x6e\x74\x55\x52\x61\x74\x69\x6f"
    "\x58\x52\x65\x6c\x65\x61\x73\x65\x64\xa2\x0b\x0c\x51\x61\x51\x62\x42\x00\xff\x56\x42\x69"
    "\x6e\x61\x72\x79\x5f\x10\x12\x63\x6f\x6d\x2e\x65\x78\x61\x6d\x70\x6c\x65\x2e\x42\x69\x6e"
    "\x61\x72\x79\x53\x32\x2e\x30\x13\xff\xff\xff\xff\xff\xff\xff\xfd\x09\x23\x3f\xe0\x00\x00"
    "\x00\x00\x00\x00\x33\x41\xc5\xa1\xda\x52\x80\x00\x00\x08\x1b\x20\x25\x3a\x4f\x6c\x72\x7e"
    "\x84\x8d\x90\x92\x94\x97\x9e\xb3\xb7\xc0\xc1\xca\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00"
    "\x00\x00\x00\x00\x00\x15\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xd3";
constexpr std::string_view binaryInfo(binaryInfoBytes, sizeof binaryInfoBytes - 1);

// 2024-01-02 03:04:05 UTC.
constexpr Timestamp released = 1'704'164'645;

void expectSharedValues(const PropertyList& list) {
    EXPECT_EQ(list.integer("Count"), -3);
    EXPECT_EQ(list.real("Ratio"), 0.5);
    EXPECT_EQ(list.boolean("LSUIElement"), true);
    EXPECT_EQ(list.date("Released"), released);
    ASSERT_NE(list.find("Blob"), nullptr);
    EXPECT_EQ(list.find("Blob")->asData(), std::string("\x00\xff", 2));
    EXPECT_EQ(list.strings("Args"), (std::vector<std::string>{"a", "b"}));
}

TEST(PropertyList, ReadsXmlWithOrWithoutAByteOrderMark) {
    for (const std::string& bytes : {std::string(xmlInfo), "\xEF\xBB\xBF" + std::string(xmlInfo)}) {
        const std::optional<PropertyList> list = PropertyList::parseDictionary(bytes);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->string("CFBundleIdentifier"), "com.example.Editor");
        expectSharedValues(*list);
        ASSERT_NE(list->dictionary("Nested"), nullptr);
        EXPECT_EQ(list->dictionary("Nested")->string("Name"), "Wörter");
    }
}

TEST(PropertyList, ReadsBinaryFiles) {
    test::FixtureTree fixture;
    const std::optional<PropertyList> list =
        PropertyList::readDictionaryFile(fixture.file("Info.plist", binaryInfo));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->string("CFBundleIdentifier"), "com.example.Binary");
    EXPECT_EQ(list->string("CFBundleShortVersionString"), "2.0");
    expectSharedValues(*list);
}

TEST(PropertyList, TypedLookupsGiveNothingForOtherTypes) {
    const std::optional<PropertyList> list = PropertyList::parse(xmlInfo);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->string("Count"), std::nullopt);
    EXPECT_EQ(list->integer("Ratio"), std::nullopt);
    EXPECT_EQ(list->real("Count"), std::nullopt);
    EXPECT_EQ(list->boolean("Count"), std::nullopt);
    EXPECT_EQ(list->date("Count"), std::nullopt);
    EXPECT_EQ(list->strings("Nested"), std::nullopt);
    EXPECT_EQ(list->dictionary("Args"), nullptr);
    EXPECT_EQ(list->array("Nested"), nullptr);
    EXPECT_EQ(list->string("Missing"), std::nullopt);
    EXPECT_EQ(list->find("Args")->string("a"), std::nullopt);
    // Keys match exactly.
    EXPECT_EQ(list->string("cfbundleidentifier"), std::nullopt);
}

TEST(PropertyList, DamagedOrForeignInputReadsAsNothing) {
    const std::string arrayList = R"(<?xml version="1.0"?><plist version="1.0"><array>)"
                                  R"(<string>a</string></array></plist>)";
    EXPECT_TRUE(PropertyList::parse(arrayList));
    EXPECT_FALSE(PropertyList::parseDictionary(arrayList));
    EXPECT_FALSE(PropertyList::parse(xmlInfo.substr(0, xmlInfo.size() / 2)));
    EXPECT_FALSE(PropertyList::parse(binaryInfo.substr(0, binaryInfo.size() - 10)));
    EXPECT_FALSE(PropertyList::parse(binaryInfo.substr(0, 40)));
    EXPECT_FALSE(PropertyList::parse(""));
    EXPECT_FALSE(PropertyList::parse("{\"json\": true}"));
    EXPECT_FALSE(PropertyList::readFile("/nonexistent/Info.plist"));
}

// A binary list may refer to one value from many places, and the parser copies that value
// for every reference; lists are taken only while the copies stay within bounds.
TEST(PropertyList, RefusesListsThatWouldExpandPastTheirBounds) {
    using test::binaryList;
    using test::binaryObject;
    const std::optional<PropertyList> shared = PropertyList::parse(test::doublingBinaryList(10));
    ASSERT_TRUE(shared);
    const PropertyList* innermost = &*shared;
    for (int level = 0; level < 10; ++level) {
        ASSERT_EQ(innermost->items().size(), 2U);
        EXPECT_EQ(innermost->items()[0], innermost->items()[1]);
        innermost = &innermost->items()[0];
    }
    EXPECT_EQ(innermost->asInteger(), 0);
    // 2^20 - 1 values, just past a million; 2^41 - 1 values in a few hundred bytes.
    EXPECT_FALSE(PropertyList::parse(test::doublingBinaryList(19)));
    EXPECT_FALSE(PropertyList::parse(test::doublingBinaryList(40)));

    // One string of 100 kB, referred to 100 times (10 MB) and 1,000 times (100 MB).
    const std::string string = binaryObject(0x5, 100'000, std::string(100'000, 's'));
    const auto referredTo = [&](std::uint64_t times) {
        return binaryList({binaryObject(0xA, times, std::string(times, '\x01')), string});
    };
    ASSERT_TRUE(PropertyList::parse(referredTo(100)));
    EXPECT_EQ(PropertyList::parse(referredTo(100))->items().size(), 100U);
    EXPECT_FALSE(PropertyList::parse(referredTo(1'000)));

    // An array holding itself, and one referring past the table.
    EXPECT_FALSE(PropertyList::parse(binaryList({binaryObject(0xA, 1, "\x00")})));
    EXPECT_FALSE(PropertyList::parse(binaryList({binaryObject(0xA, 1, "\x01")})));
}

// Nesting is counted before parsing, as the parser follows it by recursion: 513 levels are
// read, one more is not, and far deeper XML never reaches the parser.
TEST(PropertyList, RefusesNestingPastFiveHundredAndTwelveLevels) {
    EXPECT_TRUE(PropertyList::parse(test::nestedXmlList(513)));
    EXPECT_FALSE(PropertyList::parse(test::nestedXmlList(514)));
    EXPECT_FALSE(PropertyList::parse(test::nestedXmlList(1'000'000)));
    // Comments and quoted attribute values hold no elements; self-closed ones nest nothing.
    const std::string tricky = R"(<plist><array a="/>"><!-- <array> --><array/></array></plist>)";
    ASSERT_TRUE(PropertyList::parse(tricky));
    EXPECT_EQ(PropertyList::parse(tricky)->items().size(), 1U);
}

} // namespace
} // namespace dorvale
