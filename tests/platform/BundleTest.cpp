#include "platform/Bundle.hpp"

#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

std::string infoPlist(std::string_view entries) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + std::string(entries) +
           "</dict></plist>";
}

TEST(Bundle, ReadsIdentifierExecutableAndInfoStrings) {
    test::FixtureTree fixture;
    fixture.file("Editor.app/Contents/Info.plist",
                 infoPlist("<key>CFBundleIdentifier</key><string>com.example.Editor</string>"
                           "<key>CFBundleExecutable</key><string>editor</string>"
                           "<key>CFBundleName</key><string></string>"));
    const std::optional<Bundle> bundle = Bundle::open(fixture.path("Editor.app"));
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->path(), fixture.path("Editor.app"));
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.Editor");
    EXPECT_EQ(bundle->executablePath(), fixture.path("Editor.app/Contents/MacOS/editor"));
    EXPECT_EQ(bundle->infoString("CFBundleName"), "");
    EXPECT_EQ(bundle->infoString("CFBundleDisplayName"), std::nullopt);
}

TEST(Bundle, OpensWithoutAUsableInfoPlist) {
    test::FixtureTree fixture;
    fixture.folder("Bare.app/Contents");
    fixture.file("Damaged.app/Contents/Info.plist", infoPlist("<key>A</key>").substr(0, 40));
    fixture.file("Empty.app/Contents/Info.plist",
                 infoPlist("<key>CFBundleIdentifier</key><string></string>"));
    for (const char* name : {"Bare.app", "Damaged.app", "Empty.app"}) {
        const std::optional<Bundle> bundle = Bundle::open(fixture.path(name));
        ASSERT_TRUE(bundle) << name;
        EXPECT_EQ(bundle->bundleIdentifier(), std::nullopt) << name;
        EXPECT_EQ(bundle->executablePath(), std::nullopt) << name;
    }
    fixture.file("File.app", "not a folder");
    EXPECT_FALSE(Bundle::open(fixture.path("File.app")));
    EXPECT_FALSE(Bundle::open(fixture.path("Missing.app")));
}

TEST(Bundle, ExecutableNameCannotLeaveTheBundle) {
    test::FixtureTree fixture;
    for (const char* name : {"../../../bin/sh", "..", "sub/tool"}) {
        fixture.file(
            "Odd.app/Contents/Info.plist",
            infoPlist("<key>CFBundleExecutable</key><string>" + std::string(name) + "</string>"));
        EXPECT_EQ(Bundle::open(fixture.path("Odd.app"))->executablePath(), std::nullopt) << name;
    }
}

} // namespace
} // namespace dorvale
