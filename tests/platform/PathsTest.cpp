#include "platform/Paths.hpp"

#include <gtest/gtest.h>

namespace dorvale {
namespace {

TEST(NormalizePath, IsLexical) {
    const std::pair<std::string, std::string> cases[] = {
        {"/", "/"},
        {"//", "/"},
        {"/Users/a/", "/Users/a"},
        {"/Users//a/./b", "/Users/a/b"},
        {"/Users/a/../b", "/Users/b"},
        {"/../x", "/x"},
        {"a/../../b", "../b"},
        {"./", "."},
        {"", ""},
        {"/a/b/..", "/a"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(normalizePath(path), expected) << path;
    }
}

TEST(PathHelpers, ComponentsAndContainment) {
    EXPECT_EQ(joinPath("/", "Users"), "/Users");
    EXPECT_EQ(joinPath("/Users", "a"), "/Users/a");
    EXPECT_EQ(lastComponent("/Users/a"), "a");
    EXPECT_EQ(parentPath("/Users/a"), "/Users");
    EXPECT_EQ(parentPath("/Users"), "/");
    EXPECT_EQ(parentPath("Users"), "");
    EXPECT_TRUE(isSameOrInside("/Users/a", "/Users/a"));
    EXPECT_TRUE(isSameOrInside("/Users/a/b", "/Users/a"));
    EXPECT_FALSE(isSameOrInside("/Users/ab", "/Users/a"));
    EXPECT_TRUE(isSameOrInside("/x", "/"));
}

// A leading dot starts a hidden name, not an extension.
TEST(PathHelpers, SplitsANameAtItsLastDot) {
    struct Case {
        std::string_view name;
        std::string_view extension;
        std::string_view withoutExtension;
    };
    const Case cases[] = {
        {"a.tar.gz", "gz", "a.tar"},
        {"Editor.app", "app", "Editor"},
        {".bashrc", "", ".bashrc"},
        {".hidden.iso", "iso", ".hidden"},
        {"name.", "", "name"},
        {"plain", "", "plain"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameExtension(c.name), c.extension) << c.name;
        EXPECT_EQ(nameWithoutExtension(c.name), c.withoutExtension) << c.name;
    }
}

} // namespace
} // namespace dorvale
