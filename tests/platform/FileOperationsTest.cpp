#include "platform/FileOperations.hpp"

#include "platform/FolderListing.hpp"
#include "platform/Trash.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"
#include "support/HostileFiles.hpp"
#include "support/PrivateMounts.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::exists;
using test::FixtureTree;
using test::runUnprivileged;
using test::unprivilegedId;

// Moves `path` to the Trash, keeping only whether that worked.
Result<void> trashed(const Trash& trash, const std::string& path) {
    const Result<std::string> moved = trash.moveToTrash(path);
    return moved.ok() ? Result<void>() : Result<void>(moved.error());
}

TEST(RemoveForGood, RemovesATreeButNeverWhatItsLinksPointTo) {
    FixtureTree fixture;
    fixture.file("outside/keep.txt", "keep");
    fixture.file("tree/sub/deeper/file", "x");
    fixture.file("tree/.hidden", "x");
    fixture.folder("tree/empty");
    fixture.folder("tree/closed");
    fixture.file("tree/closed/inner", "x");
    fixture.setMode("tree/closed", 0000);
    fixture.symlink(fixture.path("outside"), "tree/folder-link");
    fixture.symlink(fixture.path("outside/keep.txt"), "tree/file-link");
    fixture.symlink(fixture.path("outside"), "top-link");

    ASSERT_TRUE(removeForGood(fixture.path("tree")).ok());
    ASSERT_TRUE(removeForGood(fixture.path("top-link")).ok());

    EXPECT_FALSE(exists(fixture.path("tree")));
    EXPECT_FALSE(exists(fixture.path("top-link")));
    EXPECT_EQ(sortedFolderNames(fixture.path("outside")), std::vector<std::string>{"keep.txt"});
}

// A link among the folders of a path could lead anywhere by the time the item is acted on,
// so neither removal goes through one; the folder it leads to keeps its files.
TEST(RemoveForGood, RefusesAPathThroughALinkAsTheTrashDoes) {
    FixtureTree fixture;
    const std::string kept = fixture.file("system/passwd", "root");
    fixture.symlink(fixture.path("system"), "home/linked");
    const Trash trash(Locations::inside(fixture.root()));
    const std::string throughLink = fixture.path("home/linked/passwd");
    for (const Result<void>& refused : {removeForGood(throughLink), trashed(trash, throughLink)}) {
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().code, ELOOP);
        EXPECT_EQ(refused.error().reason(),
                  "A folder on the way to this item is a symbolic link, so the item was left "
                  "alone.");
    }
    EXPECT_EQ(test::contentsOf(kept), "root");
}

// A bind mount of a folder of the same file system has the same device as its surroundings.
// An item whose tree holds one is refused before anything is removed or moved, and an item
// seen through one cannot be renamed into the Trash; either way the mounted folder and the
// item keep their files.
TEST(RemoveForGood, NeverCrossesAMountOfTheSameFileSystem) {
    struct Case {
        const char* name;
        const char* mountAt;
        const char* item;
        bool toTrash;
        const char* reason;
    };
    const char* holds = "Contains another mounted disk, so it was left alone.";
    const Case cases[] = {
        {"removing a folder holding a mount", "junk/cache/inner", "junk/cache", false, holds},
        {"removing a mounted folder", "junk/cache", "junk/cache", false, holds},
        {"trashing a folder holding a mount", "junk/cache/inner", "junk/cache", true, holds},
        {"trashing a mounted folder", "junk/cache", "junk/cache", true, holds},
        {"trashing an item inside a mount", "junk/cache", "junk/cache/system.conf", true,
         "Lies on another mounted disk, so it can’t be moved to the Trash and was left where "
         "it is."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureTree fixture;
        const std::string source = fixture.file("system/system.conf", "system");
        const std::string own = fixture.file("junk/cache/own.txt", "own");
        fixture.folder("junk/cache/inner");
        const int status = test::runWithPrivateMounts([&] {
            if (!test::bindMount(fixture.path("system"), fixture.path(c.mountAt))) {
                return 3;
            }
            const std::string item = fixture.path(c.item);
            const Trash trash(Locations::inside(fixture.root()));
            const Result<void> done = c.toTrash ? trashed(trash, item) : removeForGood(item);
            if (done.ok()) {
                return 1;
            }
            return done.error().reason() == c.reason ? 0 : 2;
        });
        if (status == test::mountsRefused) {
            GTEST_SKIP() << "the kernel refuses a mount namespace";
        }
        EXPECT_EQ(status, 0);
        EXPECT_EQ(test::contentsOf(source), "system");
        EXPECT_EQ(test::contentsOf(own), "own");
    }
}

TEST(RemoveForGood, MissingItemReportsItsPath) {
    FixtureTree fixture;
    const Result<void> removed = removeForGood(fixture.path("gone"));
    ASSERT_FALSE(removed.ok());
    EXPECT_EQ(removed.error().code, ENOENT);
    EXPECT_EQ(removed.error().operation, FileOperation::Remove);
    EXPECT_EQ(removed.error().path, fixture.path("gone"));
}

// A folder of the user holding one part they may remove and one they may not: the removable
// part goes, the first refusal is reported, and the refused part stays.
TEST(RemoveForGood, GoesOnPastARefusalAndReportsIt) {
    FixtureTree fixture;
    fixture.file("mixed/own/a", "a");
    fixture.file("mixed/locked/b", "b");
    for (const char* path : {"mixed", "mixed/own", "mixed/own/a"}) {
        fixture.setOwner(path, unprivilegedId, unprivilegedId);
    }
    const std::string mixed = fixture.path("mixed");
    const std::string lockedFile = fixture.path("mixed/locked/b");
    const int status = runUnprivileged([&] {
        const Result<void> removed = removeForGood(mixed);
        if (removed.ok()) {
            return 1;
        }
        if (removed.error().code != EACCES || removed.error().path != lockedFile) {
            return 2;
        }
        return exists(mixed + "/own") ? 3 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(exists(lockedFile));
}

// Removing an entry needs write and search permission on its folder, not read permission.
TEST(RemoveForGood, WorksInAFolderThatMayNotBeListed) {
    FixtureTree fixture;
    const std::string item = fixture.file("drop/item", "x");
    fixture.setOwner("drop", unprivilegedId, unprivilegedId);
    fixture.setMode("drop", 0300);
    EXPECT_EQ(runUnprivileged([&] { return removeForGood(item).ok() ? 0 : 1; }), 0);
    EXPECT_FALSE(exists(item));
}

// Removing an item straight out of a Trash also drops its description, so the desktop's
// Trash does not list a ghost; a look-alike folder that is no Trash keeps its files.
TEST(RemoveForGood, DropsTheDescriptionOfAnItemInATrash) {
    struct Case {
        const char* trash;
        bool isTrash;
    };
    const Case cases[] = {
        {"home/.local/share/Trash", true},
        {"volume/.Trash-1000", true},
        {"volume/.Trash/1000", true},
        {"project/Backups", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trash);
        FixtureTree fixture;
        const std::string trash = c.trash;
        fixture.file(trash + "/files/item/inside", "x");
        const std::string info = fixture.file(trash + "/info/item.trashinfo", "[Trash Info]\n");
        fixture.file(trash + "/info/other.trashinfo", "[Trash Info]\n");

        ASSERT_TRUE(removeForGood(fixture.path(trash + "/files/item")).ok());
        EXPECT_EQ(exists(info), !c.isTrash);
        EXPECT_TRUE(exists(fixture.path(trash + "/info/other.trashinfo")));
    }
}

TEST(MoveWithoutReplacing, MovesButNeverReplaces) {
    FixtureTree fixture;
    const std::string first = fixture.file("first", "1");
    const std::string second = fixture.file("second", "2");
    fixture.file("folder/inside", "x");

    const Result<void> refused = moveWithoutReplacing(first, second);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, EEXIST);
    EXPECT_TRUE(exists(first));
    EXPECT_EQ(readFile(second).value(), "2");

    ASSERT_TRUE(moveWithoutReplacing(fixture.path("folder"), fixture.path("moved")).ok());
    EXPECT_EQ(readFile(fixture.path("moved/inside")).value(), "x");
}

TEST(CreateFolderChain, CreatesMissingFoldersAndStopsAtAFile) {
    FixtureTree fixture;
    fixture.file("plain", "x");
    const std::string deep = fixture.path("a/b/c/d");
    ASSERT_TRUE(createFolderChain(deep).ok());
    EXPECT_TRUE(exists(deep));
    EXPECT_TRUE(createFolderChain(deep).ok());

    const Result<void> blocked = createFolderChain(fixture.path("plain/sub"));
    ASSERT_FALSE(blocked.ok());
    EXPECT_EQ(blocked.error().code, ENOTDIR);
    EXPECT_FALSE(createFolderChain(fixture.path("plain")).ok());
}

TEST(WriteFileAtomically, ReplacesContentsAndLeavesNoTemporaryFile) {
    FixtureTree fixture;
    const std::string target = fixture.file("data/file.json", "old contents");
    ASSERT_TRUE(writeFileAtomically(target, "new").ok());
    EXPECT_EQ(readFile(target).value(), "new");
    EXPECT_EQ(sortedFolderNames(fixture.path("data")), std::vector<std::string>{"file.json"});

    const Result<void> failed = writeFileAtomically(fixture.path("missing/file.json"), "x");
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().code, ENOENT);
}

// What other programs may have put at a path is read only when it is a regular file of a
// sane size; nothing in its place makes the reader wait.
TEST(ReadFile, ReadsOnlyRegularFilesWithinTheLimitAndNeverWaits) {
    FixtureTree fixture;
    fixture.file("plain", "contents");
    fixture.file("long", std::string(100, 'x'));
    fixture.folder("folder");
    const std::string fifo = fixture.fifo("fifo");
    fixture.symlink(fixture.path("plain"), "link");
    fixture.symlink(fixture.path("folder"), "folder-link");
    fixture.file("folder/inside", "inner");
    struct Case {
        std::string path;
        FinalLink finalLink;
        int error;
    };
    const Case cases[] = {
        {fixture.path("plain"), FinalLink::Refuse, 0},
        {fixture.path("link"), FinalLink::Follow, 0},
        {fixture.path("link"), FinalLink::Refuse, ELOOP},
        // Only the last component may be refused: links on the way are followed.
        {fixture.path("folder-link/inside"), FinalLink::Refuse, 0},
        {fixture.path("long"), FinalLink::Follow, EFBIG},
        {fixture.path("folder"), FinalLink::Follow, EISDIR},
        {fifo, FinalLink::Follow, EINVAL},
        {"/dev/null", FinalLink::Follow, EINVAL},
        {fixture.path("missing"), FinalLink::Follow, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::optional<Result<std::string>> read;
        EXPECT_TRUE(test::finishesWithoutAWriter(
            {fifo}, [&] { read = readFile(c.path, 99, c.finalLink); }));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->ok() ? 0 : read->error().code, c.error);
        if (!read->ok()) {
            EXPECT_EQ(read->error().operation, FileOperation::Read);
            EXPECT_EQ(read->error().path, c.path);
        }
    }
    EXPECT_EQ(readFile(fixture.path("long"), 100).value(), std::string(100, 'x'));
}

// Only a failed look that proves absence is a missing path: a folder this user may not search
// could still hold it.
TEST(PresenceOf, FollowsLinksAndTellsMissingFromUnknown) {
    FixtureTree fixture;
    fixture.file("plain", "x");
    fixture.symlink(fixture.path("plain"), "link");
    fixture.symlink(fixture.path("missing"), "dangling");
    fixture.file("closed/inside", "x");
    fixture.setMode("closed", 0);
    struct Case {
        const char* relative;
        Presence presence;
    };
    const Case cases[] = {
        {"plain", Presence::Present},        {"link", Presence::Present},
        {"dangling", Presence::Missing},     {"missing", Presence::Missing},
        {"plain/inside", Presence::Missing}, {"closed/inside", Presence::Unknown},
    };
    // The child gives the number of the first case it gets wrong.
    const int status = runUnprivileged([&] {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            if (presenceOf(fixture.path(cases[i].relative)) != cases[i].presence) {
                return static_cast<int>(i) + 1;
            }
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace dorvale
