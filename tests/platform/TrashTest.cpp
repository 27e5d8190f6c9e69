#include "platform/Trash.hpp"

#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"
#include "platform/Paths.hpp"
#include "support/FileChecks.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

namespace dorvale {
namespace {

using test::contentsOf;
using test::exists;
using test::FixedClock;
using test::FixtureTree;
using test::modeOf;
using test::runUnprivileged;
using test::unprivilegedId;

// Deletion dates are local time; the tests pin the zone so the expected text is fixed.
class UtcZone {
public:
    UtcZone() {
        if (const char* zone = std::getenv("TZ")) {
            m_saved = zone;
            m_hadZone = true;
        }
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone() {
        if (m_hadZone) {
            setenv("TZ", m_saved.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_saved;
    bool m_hadZone = false;
};

// 2024-03-05 06:07:08 UTC.
constexpr Timestamp deletionTime = 1'709'618'828;

class TrashTest : public ::testing::Test {
protected:
    FixtureTree fixture;
    Locations locations = Locations::inside(fixture.root());
    FixedClock clock{deletionTime};
    Trash trash{locations, clock};

    std::string infoFolder() const { return locations.homeTrash() + "/info"; }
};

TEST_F(TrashTest, DescribesTheItemSoTheDesktopCanRestoreIt) {
    const UtcZone zone;
    const std::string original = fixture.file("Users/a/Docs/my report 100%.txt", "text");

    const Result<std::string> moved = trash.moveToTrash(original);

    ASSERT_TRUE(moved.ok()) << moved.error().description();
    EXPECT_EQ(moved.value(), locations.trashFolder() + "/my report 100%.txt");
    EXPECT_FALSE(exists(original));
    EXPECT_EQ(contentsOf(moved.value()), "text");
    EXPECT_EQ(contentsOf(infoFolder() + "/my report 100%.txt.trashinfo"),
              "[Trash Info]\nPath=" + fixture.root() +
                  "/Users/a/Docs/my%20report%20100%25.txt\nDeletionDate=2024-03-05T06:07:08\n");
    EXPECT_EQ(modeOf(locations.homeTrash()) & 0777, 0700u);
}

// Every byte of a name survives the trip through the description, and the item comes back
// to exactly where it was; a link goes as a link.
TEST_F(TrashTest, AnyNameRoundTrips) {
    fixture.folder("Users/a/target");
    const std::string names[] = {
        "plain",     "two words", "50% off", "caf\xc3\xa9 \xe2\x80\x94 ok", "bad \xff\xfe bytes",
        "new\nline", "#?&=+;[]"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string original = fixture.file("Users/a/items/" + name, name);
        const Result<std::string> moved = trash.moveToTrash(original);
        ASSERT_TRUE(moved.ok()) << moved.error().description();
        EXPECT_EQ(Trash::recordedOriginalPath(moved.value()), original);
        ASSERT_TRUE(Trash::restore(moved.value(), original).ok());
        EXPECT_EQ(contentsOf(original), name);
        EXPECT_FALSE(exists(infoFolder() + "/" + name + ".trashinfo"));
    }
    const std::string link = fixture.symlink(fixture.path("Users/a/target"), "Users/a/link");
    const Result<std::string> moved = trash.moveToTrash(link);
    ASSERT_TRUE(moved.ok());
    EXPECT_TRUE(S_ISLNK(modeOf(moved.value())));
    EXPECT_TRUE(exists(fixture.path("Users/a/target")));
}

// A name already taken in the Trash, by a description or by a stray item without one,
// moves the newcomer to the next free name and leaves the others alone.
TEST_F(TrashTest, CollidingNamesGetTheNextFreeName) {
    const std::string first = fixture.file("Users/a/one/notes.txt", "1");
    const std::string second = fixture.file("Users/a/two/notes.txt", "2");
    ASSERT_EQ(trash.moveToTrash(first).value(), locations.trashFolder() + "/notes.txt");
    ASSERT_EQ(trash.moveToTrash(second).value(), locations.trashFolder() + "/notes.txt.2");
    EXPECT_EQ(Trash::recordedOriginalPath(locations.trashFolder() + "/notes.txt.2"), second);

    fixture.file("Users/a/.local/share/Trash/files/stray", "stray");
    const std::string third = fixture.file("Users/a/stray", "3");
    ASSERT_EQ(trash.moveToTrash(third).value(), locations.trashFolder() + "/stray.2");
    EXPECT_EQ(contentsOf(locations.trashFolder() + "/stray"), "stray");
    EXPECT_FALSE(exists(infoFolder() + "/stray.trashinfo"));
}

// A name of the longest length a folder allows still leaves room for ".trashinfo".
TEST_F(TrashTest, LongestNamesAreShortenedWithoutSplittingCharacters) {
    std::string name;
    while (name.size() < 254) {
        name += "\xc3\xa9";
    }
    name += "x";
    ASSERT_EQ(name.size(), 255u);
    for (const char* folder : {"Users/a/one/", "Users/a/two/"}) {
        const std::string original = fixture.file(folder + name, "x");
        const Result<std::string> moved = trash.moveToTrash(original);
        ASSERT_TRUE(moved.ok()) << moved.error().description();
        const std::string trashName = moved.value().substr(locations.trashFolder().size() + 1);
        EXPECT_LE(trashName.size() + 10, 255u);
        EXPECT_TRUE(trashName.starts_with("\xc3\xa9"));
        EXPECT_EQ(Trash::recordedOriginalPath(moved.value()), original);
    }
}

// The home Trash is used only when it and its two folders are real folders of the user.
TEST_F(TrashTest, HomeTrashThroughALinkOrOfSomebodyElseIsNotUsed) {
    struct Case {
        const char* name;
        const char* linked;
        uid_t uid;
    };
    const Case cases[] = {
        {"the Trash is a link", "Users/a/.local/share/Trash", getuid()},
        {"its files folder is a link", "Users/a/.local/share/Trash/files", getuid()},
        {"it belongs to somebody else", "", getuid() + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureTree home;
        const Locations inHome = Locations::inside(home.root());
        const std::string elsewhere = home.folder("elsewhere");
        if (*c.linked != 0) {
            home.folder(std::string(parentPath(c.linked)));
            home.symlink(elsewhere, c.linked);
        }
        const std::string item = home.file("Users/a/report", "x");
        const Result<std::string> moved = Trash(inHome, clock, c.uid).moveToTrash(item);
        ASSERT_FALSE(moved.ok());
        EXPECT_EQ(moved.error().reason(),
                  "This volume has no Trash that can be used, so the item was left where it is.");
        EXPECT_EQ(contentsOf(item), "x");
        EXPECT_TRUE(sortedFolderNames(elsewhere).empty());
    }
}

TEST_F(TrashTest, MissingItemFailsWithoutADescription) {
    const Result<std::string> moved = trash.moveToTrash(fixture.path("Users/a/gone"));
    ASSERT_FALSE(moved.ok());
    EXPECT_EQ(moved.error().code, ENOENT);
    EXPECT_EQ(moved.error().operation, FileOperation::MoveToTrash);
    EXPECT_FALSE(exists(infoFolder()));
}

// The description is written before the move; a move that is then refused takes it back.
TEST_F(TrashTest, RefusedMoveTakesItsDescriptionBack) {
    const std::string item = fixture.file("Users/a/locked/file", "x");
    fixture.folder("Users/a/.local/share/Trash/files");
    fixture.folder("Users/a/.local/share/Trash/info");
    for (const char* folder : {"Users/a/.local/share/Trash", "Users/a/.local/share/Trash/files",
                               "Users/a/.local/share/Trash/info"}) {
        fixture.setOwner(folder, unprivilegedId, unprivilegedId);
    }
    const std::string info = infoFolder();
    const int status = runUnprivileged([&] {
        const Trash own(locations, clock);
        const Result<std::string> moved = own.moveToTrash(item);
        if (moved.ok() || moved.error().code != EACCES) {
            return 1;
        }
        return exists(info + "/file.trashinfo") ? 2 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(exists(item));
}

// Descriptions are written as files of their own; one that is a link leads to what somebody
// else wrote and is not believed.
TEST_F(TrashTest, DescriptionThatIsALinkIsNotBelieved) {
    const std::string item = fixture.file("Users/a/report", "x");
    const Result<std::string> moved = trash.moveToTrash(item);
    ASSERT_TRUE(moved.ok()) << moved.error().description();
    const std::string info = "Users/a/.local/share/Trash/info/report.trashinfo";
    const std::string elsewhere =
        fixture.file("elsewhere.trashinfo", contentsOf(fixture.path(info)));
    ASSERT_EQ(unlink(fixture.path(info).c_str()), 0);
    fixture.symlink(elsewhere, info);

    EXPECT_EQ(Trash::recordedOriginalPath(moved.value()), std::nullopt);
    EXPECT_FALSE(Trash::restore(moved.value(), item).ok());
    EXPECT_FALSE(exists(item));
}

TEST_F(TrashTest, TopOfAFileSystemUsesTheSharedTrashOnlyWhenItIsSafe) {
    struct Case {
        const char* name;
        void (*prepare)(FixtureTree&);
        const char* expected;
    };
    const std::string uid = std::to_string(getuid());
    const Case cases[] = {
        {"nothing prepared", [](FixtureTree&) {}, ".Trash-"},
        {"sticky shared folder",
         [](FixtureTree& f) {
             f.folder("vol/.Trash");
             f.setMode("vol/.Trash", 01777);
         },
         ".Trash/"},
        {"shared folder without sticky bit",
         [](FixtureTree& f) {
             f.folder("vol/.Trash");
             f.setMode("vol/.Trash", 0777);
         },
         ".Trash-"},
        {"shared folder behind a link",
         [](FixtureTree& f) {
             f.folder("elsewhere");
             f.setMode("elsewhere", 01777);
             f.symlink(f.path("elsewhere"), "vol/.Trash");
         },
         ".Trash-"},
        {"own folder in the shared one belongs to someone else",
         [](FixtureTree& f) {
             f.folder("vol/.Trash");
             f.setMode("vol/.Trash", 01777);
             const std::string own = "vol/.Trash/" + std::to_string(getuid());
             f.folder(own);
             f.setOwner(own, getuid() + 1, getgid());
         },
         ".Trash-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureTree volume;
        volume.folder("vol");
        c.prepare(volume);
        const Result<TrashDirectory> found = trash.topdirTrash(volume.path("vol"));
        ASSERT_TRUE(found.ok());
        EXPECT_EQ(found.value().path, volume.path("vol/") + c.expected + uid);
        EXPECT_EQ(found.value().topdir, volume.path("vol"));
        EXPECT_EQ(modeOf(found.value().path) & 07777, 0700u);
        EXPECT_TRUE(exists(found.value().path + "/files"));
        EXPECT_TRUE(exists(found.value().path + "/info"));
        EXPECT_EQ(exists(volume.path("vol/.Trash-" + uid)), c.expected == std::string(".Trash-"));
    }
}

TEST_F(TrashTest, TopdirTrashRecordsPathsRelativeToItsTop) {
    const std::string item = fixture.file("vol/sub dir/item", "x");
    const Result<TrashDirectory> volumeTrash = trash.topdirTrash(fixture.path("vol"));
    ASSERT_TRUE(volumeTrash.ok());
    const Result<Descriptor> folder =
        openFolderWithoutLinks(fixture.path("vol/sub dir"), FileOperation::MoveToTrash);
    ASSERT_TRUE(folder.ok());
    const Result<std::string> moved =
        trash.moveInto(volumeTrash.value(), folder.value().get(), item);
    ASSERT_TRUE(moved.ok()) << moved.error().description();
    EXPECT_EQ(moved.value(), volumeTrash.value().path + "/files/item");
    const std::string info = contentsOf(volumeTrash.value().path + "/info/item.trashinfo");
    EXPECT_NE(info.find("\nPath=sub%20dir/item\n"), std::string::npos) << info;
    EXPECT_EQ(Trash::recordedOriginalPath(moved.value()), item);
    EXPECT_TRUE(Trash::restore(moved.value(), item).ok());
    EXPECT_EQ(contentsOf(item), "x");
}

// A file system where the user can make no Trash of their own refuses the move clearly;
// the item is neither copied nor removed.
TEST_F(TrashTest, FileSystemWithoutAUsableTrashRefusesClearly) {
    fixture.folder("vol");
    const std::string top = fixture.path("vol");
    const int status = runUnprivileged([&] {
        const Trash own(locations, clock);
        const Result<TrashDirectory> found = own.topdirTrash(top);
        if (found.ok()) {
            return 1;
        }
        return found.error().code == EXDEV && !found.error().detail.empty() ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    fixture.symlink(fixture.path("elsewhere"), "vol/.Trash-" + std::to_string(getuid()));
    EXPECT_EQ(trash.topdirTrash(top).error().code, EXDEV);
}

TEST(TrashTopdir, IsTheHighestFolderOnTheSameDevice) {
    EXPECT_EQ(Trash::topdirOf("/proc/self/fd"), "/proc");
    EXPECT_EQ(Trash::topdirOf("/"), "/");
}

} // namespace
} // namespace dorvale
