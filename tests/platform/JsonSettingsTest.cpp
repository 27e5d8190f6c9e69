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

} // namespace
} // namespace dorvale
