#include "model/JunkRule.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dorvale {
namespace {

struct CatalogueRow {
    std::string id;
    JunkGroup group;
    std::string title;
    std::string base;
    Risk risk;
    Removal removal;
    bool inSmartClean;

    bool operator==(const CatalogueRow&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const CatalogueRow& row) {
        return out << row.id << " " << rawValue(row.group) << " \"" << row.title << "\" "
                   << row.base << " risk " << int(row.risk) << " removal " << int(row.removal)
                   << (row.inSmartClean ? " smart" : "");
    }
};

constexpr auto S = JunkGroup::System;
constexpr auto D = JunkGroup::Developer;
constexpr auto safe = Risk::Safe;
constexpr auto review = Risk::Review;
constexpr auto gone = Removal::Permanent;
constexpr auto trash = Removal::Trash;

TEST(JunkRule, CatalogueHoldsEveryRuleInOrder) {
    const std::vector<CatalogueRow> expected = {
        {"user-caches", S, "App caches", "Library/Caches", safe, gone, true},
        {"user-logs", S, "Logs and crash reports", "Library/Logs", safe, gone, true},
        {"saved-state", S, "Saved window state", "Library/Saved Application State", safe, gone,
         true},
        {"system-logs", S, "System logs", "/Library/Logs", review, gone, false},
        {"trash", JunkGroup::Trash, "Trash", ".Trash", safe, gone, true},
        {"mail-downloads", JunkGroup::Mail, "Attachments opened from Mail",
         "Library/Containers/com.apple.mail/Data/Library/Mail Downloads", safe, gone, true},
        {"xcode-derived", D, "Xcode · DerivedData", "Library/Developer/Xcode/DerivedData", safe,
         gone, true},
        {"xcode-device-support", D, "Xcode · Device Support",
         "Library/Developer/Xcode/iOS DeviceSupport", safe, gone, true},
        {"xcode-watch-support", D, "Xcode · watchOS Support",
         "Library/Developer/Xcode/watchOS DeviceSupport", safe, gone, true},
        {"simulator-caches", D, "Simulators · Caches", "Library/Developer/CoreSimulator/Caches",
         safe, gone, true},
        {"xcode-archives", D, "Xcode · Archives", "Library/Developer/Xcode/Archives", review, trash,
         false},
        {"npm-cache", D, "npm cache", ".npm/_cacache", safe, gone, false},
        {"gradle-cache", D, "Gradle cache", ".gradle/caches", safe, gone, false},
        {"dot-cache", D, "Tool caches (~/.cache)", ".cache", review, gone, false},
        {"ios-updates", JunkGroup::Devices, "Downloaded iOS updates",
         "Library/iTunes/iPhone Software Updates", safe, gone, true},
        {"ios-backups", JunkGroup::Devices, "iPhone/iPad backups",
         "Library/Application Support/MobileSync/Backup", review, trash, false},
        {"old-installers", JunkGroup::Downloads, "Installers in Downloads", "Downloads", review,
         trash, false},
    };
    std::vector<CatalogueRow> actual;
    for (const JunkRule& rule : JunkRule::all()) {
        actual.push_back({rule.id, rule.group, rule.title, rule.base, rule.risk, rule.removal,
                          rule.inSmartClean});
        // Typed apostrophes and ellipses must not have slipped into the shown texts.
        EXPECT_EQ(rule.explanation.find('\''), std::string::npos) << rule.id;
        EXPECT_EQ(rule.explanation.find("..."), std::string::npos) << rule.id;
        EXPECT_FALSE(rule.explanation.empty()) << rule.id;
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(JunkRule::all()[13].explanation,
              "pip, Hugging Face, pre-commit… Note: they may contain large models you’d have to "
              "download again.");
}

TEST(JunkRule, OnlyTheCachesExcludeNamesAndOnlyTheInstallersFilter) {
    const std::vector<JunkRule>& rules = JunkRule::all();
    const JunkRule::Names cacheExclusions = {
        "com.apple.bird",      "CloudKit",          "com.apple.containermanagerd",
        "FamilyCircle",        "com.apple.akd",     "com.apple.nsurlsessiond",
        "app.dorvale.Dorvale", "com.apple.HomeKit", "com.apple.ap.adprivacyd",
    };
    EXPECT_EQ(rules.front().excludedNames, cacheExclusions);
    EXPECT_EQ(rules.back().extensions,
              std::optional(JunkRule::Names{"dmg", "pkg", "mpkg", "xip", "iso"}));
    EXPECT_EQ(rules.back().minAgeDays, std::optional(7));
    for (std::size_t i = 1; i + 1 < rules.size(); ++i) {
        EXPECT_TRUE(rules[i].excludedNames.empty()) << rules[i].id;
        EXPECT_FALSE(rules[i].extensions.has_value()) << rules[i].id;
        EXPECT_FALSE(rules[i].minAgeDays.has_value()) << rules[i].id;
    }
    EXPECT_FALSE(rules.front().extensions || rules.front().minAgeDays);
    EXPECT_TRUE(rules.back().excludedNames.empty());
}

TEST(JunkGroup, RawValuesRoundTripExactly) {
    const std::vector<std::pair<std::string_view, std::string_view>> expected = {
        {"system", "System Junk"},  {"trash", "Trash"},           {"mail", "Mail"},
        {"developer", "Developer"}, {"devices", "iPhone & iPad"}, {"downloads", "Downloads"},
    };
    ASSERT_EQ(allJunkGroups.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const JunkGroup group = allJunkGroups[i];
        EXPECT_EQ(rawValue(group), expected[i].first);
        EXPECT_EQ(title(group), expected[i].second);
        EXPECT_EQ(junkGroupFromRaw(expected[i].first), group);
    }
    for (const std::string_view raw : {"System", "", "trash ", "Devices"}) {
        EXPECT_EQ(junkGroupFromRaw(raw), std::nullopt) << raw;
    }
}

TEST(JunkRule, PathExtensionIsTheLowerCasedTextAfterTheLastDot) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"Installer.DMG", "dmg"},
        {"a.tar.Gz", "gz"},
        {".bashrc", ""},
        {"name.", ""},
        {"plain", ""},
        {"\xff\xfe.PkG", "pkg"},
        {".hidden.ISO", "iso"},
    };
    for (const auto& [name, extension] : cases) {
        EXPECT_EQ(lowercasePathExtension(name), extension) << name;
    }
}

struct OwnerCase {
    std::string path;
    const char* rule;

    friend std::ostream& operator<<(std::ostream& out, const OwnerCase& c) { return out << c.path; }
};

const Locations fixtureLocations = Locations::inside("/r");
const std::string home = fixtureLocations.home;

class RuleForPath : public testing::TestWithParam<OwnerCase> {};

TEST_P(RuleForPath, AnswersTheFirstRuleWhoseBaseAndFiltersMatch) {
    const OwnerCase& c = GetParam();
    const JunkRule* rule = JunkRule::ruleForPath(c.path, fixtureLocations);
    if (c.rule == nullptr) {
        EXPECT_EQ(rule, nullptr) << rule->id;
    } else {
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->id, c.rule);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RuleForPath,
    testing::Values(
        OwnerCase{home + "/Library/Caches/com.example.app/data/blob", "user-caches"},
        OwnerCase{home + "/Library/Caches/com.example.app", "user-caches"},
        OwnerCase{home + "/Library/Caches/CloudKit/records", nullptr},
        OwnerCase{home + "/Library/Caches/app.dorvale.Dorvale", nullptr},
        OwnerCase{home + "/Library/CachesOld/x", nullptr},
        OwnerCase{home + "/Library/Caches", nullptr},
        OwnerCase{home + "/Library/Caches/../Documents/report.pdf", nullptr},
        OwnerCase{home + "//Library/./Caches/x", "user-caches"},
        OwnerCase{home + "/Library/Logs/DiagnosticReports", "user-logs"},
        OwnerCase{"/r/Library/Logs/install.log", "system-logs"},
        OwnerCase{"/Library/Logs/install.log", nullptr},
        OwnerCase{home + "/.local/share/Trash/files/old photo.jpg", "trash"},
        OwnerCase{home + "/.Trash/x", nullptr},
        OwnerCase{home + "/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/a.pdf",
                  "mail-downloads"},
        OwnerCase{home + "/.cache/pip/wheels", "dot-cache"},
        OwnerCase{home + "/Downloads/Tool.DMG", "old-installers"},
        OwnerCase{home + "/Downloads/Setup.pkg/Contents/Info.plist", "old-installers"},
        OwnerCase{home + "/Downloads/archive.zip", nullptr},
        OwnerCase{home + "/Downloads/.pkg", nullptr},
        OwnerCase{home + "/Downloads/\xff.iso", "old-installers"}));

TEST(JunkRule, AnExcludedNameEndsTheSearch) {
    // With the desktop's data folder inside an excluded cache, the Trash rule would match
    // a trashed item if the search went on past the caches rule.
    Locations locations = Locations::inside("/r");
    locations.dataHome = locations.home + "/Library/Caches/CloudKit/share";
    const std::string trashed = locations.trashFolder() + "/photo.jpg";
    ASSERT_EQ(JunkRule::all()[4].basePath(locations) + "/photo.jpg", trashed);
    EXPECT_EQ(JunkRule::ruleForPath(trashed, locations), nullptr);
}

} // namespace
} // namespace dorvale
