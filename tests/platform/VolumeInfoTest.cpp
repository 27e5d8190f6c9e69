#include "platform/VolumeInfo.hpp"

#include "support/FixtureTree.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace dorvale {
namespace {

TEST(VolumeInfo, ReadsCapacitiesOfTheVolumeOfAPath) {
    const std::optional<VolumeInfo> volume = VolumeInfo::read("/");
    ASSERT_TRUE(volume);
    EXPECT_GT(volume->total, 0);
    EXPECT_GE(volume->available, 0);
    EXPECT_LE(volume->available, volume->total);
    EXPECT_EQ(volume->availableForImportantUsage, volume->available);
    EXPECT_FALSE(volume->name.empty());
    EXPECT_FALSE(VolumeInfo::read("/nonexistent/folder"));
    EXPECT_FALSE(VolumeInfo::read(""));
}

// A mount table that says the fixture's file system comes from a "device" file, and a label
// folder with a link to that file, stand in for the system's.
TEST(VolumeInfo, NameIsTheLabelOfTheMountedDevice) {
    test::FixtureTree fixture;
    struct stat info {};
    ASSERT_EQ(stat(fixture.root().c_str(), &info), 0);
    const std::string device = fixture.file("dev/disk one", "");
    fixture.file("mountinfo", "30 1 " + std::to_string(major(info.st_dev)) + ":" +
                                  std::to_string(minor(info.st_dev)) +
                                  " / /somewhere rw shared:1 - ext4 " + fixture.path("dev") +
                                  "/disk\\040one rw\n");
    fixture.folder("labels");
    fixture.symlink(fixture.path("dev/none"), "labels/Other");
    fixture.symlink("../dev/disk one", "labels/Photos\\x20and\\x2fVideos");
    const VolumeNameSources sources{fixture.path("mountinfo"), fixture.path("labels")};
    EXPECT_EQ(VolumeInfo::read(fixture.root(), sources)->name, "Photos and/Videos");

    const VolumeNameSources unlabelled{fixture.path("mountinfo"), fixture.path("no-labels")};
    EXPECT_EQ(VolumeInfo::read(fixture.root(), unlabelled)->name, "Computer");
}

TEST(VolumeInfo, UnescapesLabels) {
    EXPECT_EQ(unescapeLabel("My\\x20Disk"), "My Disk");
    EXPECT_EQ(unescapeLabel("caf\\xc3\\xa9"), "caf\xC3\xA9");
    EXPECT_EQ(unescapeLabel("odd\\x2"), "odd\\x2");
    EXPECT_EQ(unescapeLabel("\\xzz"), "\\xzz");
}

} // namespace
} // namespace dorvale
