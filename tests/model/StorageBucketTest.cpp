#include "model/StorageBucket.hpp"

#include "model/FolderNames.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dorvale {
namespace {

constexpr auto none = std::optional<StorageBucket>();

struct FolderCase {
    std::string path;
    std::optional<StorageBucket> fallback;
    std::optional<StorageBucket> expected;

    friend std::ostream& operator<<(std::ostream& out, const FolderCase& c) {
        return out << c.path;
    }
};

class Classify : public testing::TestWithParam<FolderCase> {};

TEST_P(Classify, FirstRuleThatAppliesWins) {
    const FolderCase& c = GetParam();
    const auto components = PathComponents::of(c.path);
    const std::string name(c.path.substr(c.path.rfind('/') + 1));
    EXPECT_EQ(classify(components, name, c.fallback), c.expected) << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, Classify,
    testing::Values(
        FolderCase{"/Users/a/Library/Caches/com.example", StorageBucket::Junk, StorageBucket::Junk},
        FolderCase{"/Users/a/Library/Caches/Tool.app", StorageBucket::Junk,
                   StorageBucket::Applications},
        FolderCase{"/Users/a/Library", none, StorageBucket::AppData},
        FolderCase{"/Users/a/Library/Mail", StorageBucket::AppData, none},
        FolderCase{"/Users/a/Library/Preferences", StorageBucket::AppData, StorageBucket::AppData},
        FolderCase{"/Users/a/Library/Saved Application State", StorageBucket::AppData,
                   StorageBucket::Junk},
        FolderCase{"/Users/a/.Trash", none, StorageBucket::Trash},
        FolderCase{"/Users/a/Projects/web/node_modules", none, StorageBucket::Developer},
        FolderCase{"/Users/a/Library/Application Support/Developer", StorageBucket::AppData,
                   StorageBucket::Developer},
        FolderCase{"/Library/Developer", StorageBucket::System, StorageBucket::Developer},
        FolderCase{"/Users/a/Music/Song.band", none, StorageBucket::Audio},
        FolderCase{"/Users/a/Pictures/P.photoslibrary", none, StorageBucket::Images},
        FolderCase{"/Users/a/Movies/M.fcpbundle", none, StorageBucket::Video},
        FolderCase{"/Users/a/Archives/B.xcarchive", none, StorageBucket::Developer},
        FolderCase{"/Users/a/Applications", none, none},
        FolderCase{"/Users/a/Documents", none, none},
        FolderCase{"/Users/a/Documents/x", StorageBucket::AppData, StorageBucket::AppData},
        FolderCase{"/Users/a/Videos/clips", StorageBucket::Video, StorageBucket::Video},
        FolderCase{"/private/var/folders", StorageBucket::System, StorageBucket::Junk},
        FolderCase{"/private/var/log", StorageBucket::System, StorageBucket::Junk},
        FolderCase{"/private/tmp", StorageBucket::System, StorageBucket::Junk},
        FolderCase{"/private/var/db", StorageBucket::System, StorageBucket::System},
        FolderCase{"/private", none, StorageBucket::System},
        FolderCase{"/usr/local", StorageBucket::Developer, StorageBucket::Developer},
        FolderCase{"/opt", none, StorageBucket::Developer},
        FolderCase{"/Library", none, StorageBucket::System},
        FolderCase{"/Library/Caches", StorageBucket::System, StorageBucket::Junk},
        FolderCase{"/Library/Fonts", StorageBucket::System, StorageBucket::System},
        FolderCase{"/System", none, StorageBucket::System},
        FolderCase{"/.fseventsd", none, StorageBucket::System},
        FolderCase{"/Applications", none, none},
        FolderCase{"/Applications/Safari.app", none, StorageBucket::Applications},
        FolderCase{"/Volumes/Backup", none, none}, FolderCase{"/", none, none}));

TEST(PathComponents, CountsEveryComponentButKeepsFour) {
    const auto components = PathComponents::of("//Users/a//Library/Caches/x/");
    EXPECT_EQ(components.count, 5u);
    EXPECT_EQ(components.head[0], "Users");
    EXPECT_EQ(components.head[3], "Caches");
    EXPECT_EQ(PathComponents::of("/").count, 0u);
}

TEST(StorageBucket, TextsAndDefaults) {
    for (unsigned raw = 0; raw < allStorageBuckets.size(); ++raw) {
        EXPECT_EQ(storageBucketFromRaw(raw), allStorageBuckets[raw]);
    }
    EXPECT_FALSE(storageBucketFromRaw(12));
    EXPECT_EQ(title(StorageBucket::Junk), "Caches & Temporary Files");
    EXPECT_EQ(detail(StorageBucket::Other), "Everything that doesn’t fit another category.");
    EXPECT_EQ(symbol(StorageBucket::AppData), "tray.full.fill");
    EXPECT_EQ(defaultForKind(FileKind::Code), StorageBucket::Documents);
    EXPECT_EQ(defaultForKind(FileKind::DiskImage), StorageBucket::Archives);
    EXPECT_EQ(defaultForKind(FileKind::Application), StorageBucket::Applications);
}

TEST(FolderNames, TablesAndPackages) {
    EXPECT_EQ(packageExtensions().size(), 32u);
    EXPECT_EQ(developerFolderNames().size(), 23u);
    EXPECT_TRUE(isPackageName("Foo.app"));
    EXPECT_TRUE(isPackageName("Window.savedState"));
    EXPECT_FALSE(isPackageName("Window.savedstate"));
    EXPECT_FALSE(isPackageName("app"));
}

} // namespace
} // namespace dorvale
