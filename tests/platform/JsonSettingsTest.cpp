#include "platform/JsonSettings.hpp"

#include "platform/FolderListing.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"
#include "support/HostileFiles.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace dorvale {
namespace {

using test::contentsOf;

class JsonSettingsTest : public ::testing::Test {
protected:
    test::FixtureTree m_fixture;
    Locations m_locations = Locations::inside(m_fixture.root());
    std::string m_path = JsonSettings::defaultPath(m_locations);
};

TEST_F(JsonSettingsTest, EveryTypeSurvivesAReload) {
    const std::string invalidUtf8 = "/Users/a/caf\xE9";
    {
        JsonSettings settings(m_path);
        settings.setBool("permanentDelete", true);
        settings.setInteger("lastAutoCleanBytes", std::numeric_limits<std::int64_t>::max());
        settings.setInteger("negative", std::numeric_limits<std::int64_t>::min());
        settings.setDouble("whole", 10.0);
        settings.setDouble("fraction", 0.1);
        settings.setText("initialSection", "overview");
        settings.setText("excludedPaths", invalidUtf8 + "\n/tmp");
        settings.setTextList("list", {"a", invalidUtf8, ""});
        settings.setTextList("none", {});
        settings.setDate("lastAutoClean", 1'700'000'000.25);
    }
    EXPECT_EQ(m_path, m_fixture.path("Users/a/.config/Dorvale/settings.json"));
    const JsonSettings settings(m_path);
    EXPECT_EQ(settings.boolValue("permanentDelete"), true);
    EXPECT_EQ(settings.integerValue("lastAutoCleanBytes"),
              std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(settings.integerValue("negative"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(settings.doubleValue("whole"), 10.0);
    EXPECT_EQ(settings.doubleValue("fraction"), 0.1);
    EXPECT_EQ(settings.textValue("initialSection"), "overview");
    EXPECT_EQ(settings.textValue("excludedPaths"), invalidUtf8 + "\n/tmp");
    EXPECT_EQ(settings.textListValue("list"), (std::vector<std::string>{"a", invalidUtf8, ""}));
    EXPECT_EQ(settings.textListValue("none"), std::vector<std::string>{});
    EXPECT_EQ(settings.dateValue("lastAutoClean"), 1'700'000'000.25);
}

TEST_F(JsonSettingsTest, AValueOfAnotherTypeReadsAsMissing) {
    m_fixture.file("Users/a/.config/Dorvale/settings.json", R"({
        "flag": true, "count": 10, "ratio": 10.0, "text": "10", "list": ["a", 1],
        "date": {"date": 5}, "odd": {"other": 1}, "big": 18446744073709551615, "null": null
    })");
    const JsonSettings settings(m_path);
    EXPECT_EQ(settings.boolValue("count"), std::nullopt);
    EXPECT_EQ(settings.integerValue("flag"), std::nullopt);
    EXPECT_EQ(settings.integerValue("ratio"), std::nullopt);
    EXPECT_EQ(settings.doubleValue("count"), std::nullopt);
    EXPECT_EQ(settings.doubleValue("date"), std::nullopt);
    EXPECT_EQ(settings.dateValue("ratio"), std::nullopt);
    EXPECT_EQ(settings.textValue("count"), std::nullopt);
    EXPECT_EQ(settings.textListValue("text"), std::nullopt);
    EXPECT_EQ(settings.textListValue("list"), std::nullopt);
    EXPECT_EQ(settings.value("odd"), std::nullopt);
    EXPECT_EQ(settings.integerValue("big"), std::nullopt);
    EXPECT_EQ(settings.value("null"), std::nullopt);
    EXPECT_EQ(settings.dateValue("date"), 5.0);
    EXPECT_EQ(settings.integerValue("count"), 10);
}

TEST_F(JsonSettingsTest, WritesReplaceTheFileAtomicallyAndKeepUnknownValues) {
    m_fixture.file("Users/a/.config/Dorvale/settings.json", R"({"odd": {"other": 1}, "x": 1})");
    JsonSettings settings(m_path);
    settings.setInteger("lowSpaceGB", 20);
    settings.remove("x");
    settings.remove("never-set");
    EXPECT_EQ(sortedFolderNames(m_fixture.path("Users/a/.config/Dorvale")),
              std::vector<std::string>{"settings.json"});
    const JsonSettings reloaded(m_path);
    EXPECT_EQ(reloaded.integerValue("lowSpaceGB"), 20);
    EXPECT_EQ(reloaded.value("x"), std::nullopt);
    EXPECT_NE(contentsOf(m_path).find("\"other\""), std::string::npos);
}

TEST_F(JsonSettingsTest, DamagedFilesAreMovedAsideNeverOverwritten) {
    const std::string folder = m_fixture.path("Users/a/.config/Dorvale");
    const char* damages[] = {"{\"cut\": tr", "[1, 2]"};
    for (const char* damage : damages) {
        m_fixture.file("Users/a/.config/Dorvale/settings.json", damage);
        JsonSettings settings(m_path);
        EXPECT_TRUE(settings.isPersistent());
        EXPECT_EQ(settings.value("cut"), std::nullopt);
        settings.setBool("menuBar", false);
    }
    EXPECT_EQ(sortedFolderNames(folder),
              (std::vector<std::string>{"settings.json", "settings.json.damaged",
                                        "settings.json.damaged.2"}));
    EXPECT_EQ(contentsOf(folder + "/settings.json.damaged"), damages[0]);
    EXPECT_EQ(contentsOf(folder + "/settings.json.damaged.2"), damages[1]);
    EXPECT_EQ(JsonSettings(m_path).boolValue("menuBar"), false);
}

// A FIFO in the file's place would hold the program's start until someone wrote to it; like
// anything else that is no regular file, it is moved aside at once.
TEST_F(JsonSettingsTest, WhatIsNoRegularFileIsMovedAsideWithoutWaiting) {
    const std::string fifo = m_fixture.fifo("Users/a/.config/Dorvale/settings.json");
    std::optional<bool> persistent;
    EXPECT_TRUE(test::finishesWithoutAWriter(
        {fifo}, [&] { persistent = JsonSettings(m_path).isPersistent(); }));
    EXPECT_EQ(persistent, true);
    EXPECT_EQ(sortedFolderNames(m_fixture.path("Users/a/.config/Dorvale")),
              std::vector<std::string>{"settings.json.damaged"});
}

// A file this user cannot read, in a folder this user cannot change, can be neither read
// nor moved aside: the store then keeps its values in memory and leaves the file alone.
TEST_F(JsonSettingsTest, AFileThatCannotBeMovedAsideIsLeftAlone) {
    m_fixture.file("Users/a/.config/Dorvale/settings.json", R"({"secret": true})");
    m_fixture.setMode("Users/a/.config/Dorvale/settings.json", 0600);
    m_fixture.setOwner("Users/a/.config/Dorvale/settings.json", 0, 0);
    m_fixture.setMode("Users/a/.config/Dorvale", 0755);
    m_fixture.setOwner("Users/a/.config/Dorvale", 0, 0);
    const std::string path = m_path;
    const int status = test::runUnprivileged([&path] {
        JsonSettings settings(path);
        settings.setBool("menuBar", true);
        if (settings.isPersistent()) {
            return 1;
        }
        return settings.boolValue("menuBar") == true ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(contentsOf(m_path), R"({"secret": true})");
    EXPECT_EQ(sortedFolderNames(m_fixture.path("Users/a/.config/Dorvale")),
              std::vector<std::string>{"settings.json"});
}

// Nesting that the writer would follow by recursion, or a size no setting comes near, marks
// a file that this program did not write: it is set aside before anything reads it, so no
// later write inflates it or overflows the stack.
TEST_F(JsonSettingsTest, OverlyDeepOrLargeFilesAreSetAside) {
    const auto nested = [](std::size_t depth) {
        return R"({"x": )" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    };
    struct Case {
        const char* name;
        std::string text;
        bool damaged;
    };
    const Case cases[] = {
        {"64 levels", nested(64), false},
        {"brackets inside a text", R"({"x": ")" + std::string(100, '[') + R"("})", false},
        {"65 levels", nested(65), true},
        {"100,000 levels", nested(100'000), true},
        {"over 1 MiB", R"({"x": ")" + std::string(1024 * 1024, 'a') + R"("})", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FixtureTree fixture;
        const std::string path = fixture.file("settings.json", c.text);
        JsonSettings settings(path);
        settings.setBool("menuBar", true);
        EXPECT_EQ(test::exists(path + ".damaged"), c.damaged);
        EXPECT_EQ(JsonSettings(path).boolValue("menuBar"), true);
        if (c.damaged) {
            EXPECT_EQ(contentsOf(path + ".damaged"), c.text);
            EXPECT_LT(contentsOf(path).size(), 100U);
        }
    }
}

// Two processes on one file: a write changes only its own key in what is on disk, so
// neither undoes the other's settings.
TEST_F(JsonSettingsTest, AWriteChangesOnlyItsOwnKeyInTheFile) {
    JsonSettings first(m_path);
    JsonSettings second(m_path);
    first.setInteger("lowSpaceGB", 5);
    second.setBool("menuBar", false);
    first.setText("initialSection", "overview");
    second.remove("missing");
    first.remove("lowSpaceGB");
    const JsonSettings reloaded(m_path);
    EXPECT_EQ(reloaded.boolValue("menuBar"), false);
    EXPECT_EQ(reloaded.textValue("initialSection"), "overview");
    EXPECT_EQ(reloaded.value("lowSpaceGB"), std::nullopt);
    EXPECT_EQ(sortedFolderNames(m_fixture.path("Users/a/.config/Dorvale")),
              std::vector<std::string>{"settings.json"});
}

} // namespace
} // namespace dorvale
