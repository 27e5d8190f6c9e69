#include "model/DeletionEngine.hpp"

#include "model/DeletionHistory.hpp"
#include "platform/Descriptor.hpp"
#include "platform/FileOperations.hpp"
#include "support/FakeWorkspace.hpp"
#include "support/FileChecks.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"
#include "support/Unprivileged.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::contentsOf;
using test::exists;
using test::FixedClock;
using test::FixtureTree;
using test::isLink;
using test::unprivilegedId;

const std::string noLongerExists = "No longer exists.";
const std::string noPermission =
    "No permission. It may need Full Disk Access, or it belongs to another user.";
const std::string protectedOrInUse = "Protected by macOS or in use.";

// The outcome as lines with paths relative to the fixture, so a mismatch shows exactly
// which request went wrong and how.
class Describer {
public:
    explicit Describer(std::string root)
        : m_root(std::move(root) + "/") {}

    [[nodiscard]] std::vector<std::string> lines(const DeletionOutcome& outcome) const {
        const DeletionReport& report = outcome.report;
        std::vector<std::string> lines = {"freed " + std::to_string(report.freed),
                                          "movedToTrash " + std::to_string(report.movedToTrash)};
        for (const std::string& path : report.deletedPaths) {
            lines.push_back("deleted " + relative(path));
        }
        for (const DeletionFailure& failure : report.failures) {
            lines.push_back("failed " + relative(failure.path) + ": " + failure.reason);
        }
        for (const DeletionFailure& failure : report.skippedProtected) {
            lines.push_back("skipped " + relative(failure.path) + ": " + failure.reason);
        }
        for (const HistoryEntry& entry : outcome.entries) {
            lines.push_back("entry " + relative(entry.originalPath) + " size " +
                            std::to_string(entry.size) + " date " +
                            std::to_string(static_cast<long long>(entry.date)) +
                            (entry.trashPath ? " in " + relative(*entry.trashPath) : " gone") +
                            (entry.restored ? " restored" : ""));
        }
        return lines;
    }

    [[nodiscard]] std::string text(const DeletionOutcome& outcome) const {
        std::string result;
        for (const std::string& line : lines(outcome)) {
            result += line + "\n";
        }
        return result;
    }

private:
    [[nodiscard]] std::string relative(const std::string& path) const {
        return path.starts_with(m_root) ? path.substr(m_root.size()) : path;
    }

    std::string m_root;
};

class DeletionEngineTest : public ::testing::Test {
protected:
    static constexpr Timestamp runDate = 1'700'000'000;

    FixtureTree fixture;
    Locations locations = Locations::inside(fixture.root());
    test::FakeWorkspace workspace;
    FixedClock clock{runDate};
    Describer describer{fixture.root()};

    DeletionRequest request(std::string_view relative, Removal removal) {
        // The user confirmed review items too, unless a test says otherwise.
        return DeletionRequest{.id = Uuid::random(),
                               .path = fixture.path(relative),
                               .removal = removal,
                               .confirmedRisk = Risk::Review};
    }

    // What the item occupies on disk, everything in a folder included, a link as itself.
    std::int64_t occupied(std::string_view relative) {
        const std::string path = fixture.path(relative);
        std::int64_t total = test::allocated(path);
        if (!isLink(path) && std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                total += test::allocated(entry.path());
            }
        }
        return total;
    }

    DeletionOutcome perform(const std::vector<DeletionRequest>& requests) {
        const SafetyPolicy policy(locations, workspace);
        const Trash trash(locations, clock);
        return DeletionEngine(policy, trash, clock).perform(requests);
    }
};

TEST_F(DeletionEngineTest, NothingRequestedDoesNothing) {
    const DeletionOutcome outcome = perform({});
    EXPECT_EQ(outcome.report, DeletionReport{});
    EXPECT_TRUE(outcome.entries.empty());
}

// One run as an ordinary user over everything that can happen to a request: exactly the
// allowed items go, each failure has its sentence, protected items stay even when asked to
// go for good, and the history entries describe what was really done.
TEST_F(DeletionEngineTest, MixedBatchRemovesExactlyTheAllowedItems) {
    fixture.file("Users/a/Documents/report.txt", "report");
    fixture.file("Users/a/Projects/build/out.o", "object");
    fixture.file("Users/a/Projects/build/sub/deep.o", "deep");
    fixture.file("Users/a/Downloads/old.zip", "zip");
    fixture.file("Users/a/Library/Caches/com.example/cache.db", "cache");
    fixture.file("Users/a/Desktop/keep.txt", "keep");
    fixture.file("Users/a/Shared/team.txt", "team");
    fixture.file("Users/a/Shared/plan.txt", "plan");
    fixture.file("Users/a/Board/pinned.txt", "pinned");
    fixture.folder("Users/a/.local/share");
    fixture.folder("out");
    for (const char* folder :
         {"Users/a", "Users/a/Documents", "Users/a/Projects", "Users/a/Projects/build",
          "Users/a/Projects/build/sub", "Users/a/Downloads", "Users/a/Library",
          "Users/a/Library/Caches", "Users/a/Library/Caches/com.example", "Users/a/Desktop",
          "Users/a/.local", "Users/a/.local/share", "out"}) {
        fixture.setOwner(folder, unprivilegedId, unprivilegedId);
    }
    // "Shared" stays the administrator's; "Board" is shared by all, but only owners may
    // remove what lies in it.
    fixture.setMode("Users/a/Board", 01777);

    const std::vector<DeletionRequest> requests = {
        request("Users/a/Documents/report.txt", Removal::Trash),
        request("Users/a/Library/Caches", Removal::Permanent),
        request("Users/a/Shared/team.txt", Removal::Trash),
        request("Users/a/Projects/build", Removal::Permanent),
        request("Users/a/Documents/gone.txt", Removal::Permanent),
        request("Users/a/Desktop", Removal::Permanent),
        request("Users/a/Shared/plan.txt", Removal::Permanent),
        request("Users/a/Board/pinned.txt", Removal::Permanent),
        request("Users/a/Documents/gone.txt", Removal::Trash),
        request("Users/a/Downloads/old.zip", Removal::Trash),
    };
    const std::int64_t report = occupied("Users/a/Documents/report.txt");
    const std::int64_t build = occupied("Users/a/Projects/build");
    const std::int64_t zip = occupied("Users/a/Downloads/old.zip");
    const std::string outcomeFile = fixture.path("out/outcome.txt");
    const int status = test::runUnprivileged([&] {
        return writeFileAtomically(outcomeFile, describer.text(perform(requests))).ok() ? 0 : 1;
    });
    ASSERT_EQ(status, 0);

    const std::string trashed = "in Users/a/.local/share/Trash/files/";
    const std::string date = " date " + std::to_string(static_cast<long long>(runDate));
    const std::string expected[] = {
        "freed " + std::to_string(build),
        "movedToTrash " + std::to_string(report + zip),
        "deleted Users/a/Documents/report.txt",
        "deleted Users/a/Projects/build",
        "deleted Users/a/Downloads/old.zip",
        "failed Users/a/Shared/team.txt: " + noPermission,
        "failed Users/a/Documents/gone.txt: " + noLongerExists,
        "failed Users/a/Shared/plan.txt: " + noPermission,
        "failed Users/a/Board/pinned.txt: " + protectedOrInUse,
        "failed Users/a/Documents/gone.txt: " + noLongerExists,
        "skipped Users/a/Library/Caches: Folder used by macOS. Dorvale empties its contents but "
        "keeps the folder.",
        "skipped Users/a/Desktop: Standard folder in your user account. You can delete its "
        "contents, but not the folder.",
        "entry Users/a/Documents/report.txt size " + std::to_string(report) + date + " " + trashed +
            "report.txt",
        "entry Users/a/Projects/build size " + std::to_string(build) + date + " gone",
        "entry Users/a/Downloads/old.zip size " + std::to_string(zip) + date + " " + trashed +
            "old.zip",
    };
    std::string expectedText;
    for (const std::string& line : expected) {
        expectedText += line + "\n";
    }
    EXPECT_EQ(contentsOf(outcomeFile), expectedText);

    const std::string files = locations.trashFolder() + "/";
    const std::string info = locations.homeTrash() + "/info/";
    EXPECT_EQ(contentsOf(files + "report.txt"), "report");
    EXPECT_EQ(contentsOf(files + "old.zip"), "zip");
    EXPECT_TRUE(exists(info + "report.txt.trashinfo"));
    EXPECT_FALSE(exists(info + "team.txt.trashinfo"));
    EXPECT_FALSE(exists(info + "gone.txt.trashinfo"));
    for (const char* gone :
         {"Users/a/Documents/report.txt", "Users/a/Projects/build", "Users/a/Downloads/old.zip"}) {
        EXPECT_FALSE(exists(fixture.path(gone))) << gone;
    }
    for (const char* kept :
         {"Users/a/Library/Caches/com.example/cache.db", "Users/a/Desktop/keep.txt",
          "Users/a/Shared/team.txt", "Users/a/Shared/plan.txt", "Users/a/Board/pinned.txt"}) {
        EXPECT_TRUE(exists(fixture.path(kept))) << kept;
    }
}

// An item taken to the Trash comes back exactly as it was, name and bytes, through the
// entry the run returned.
TEST_F(DeletionEngineTest, TrashedItemsComeBackByteForByteThroughTheHistory) {
    std::string bytes;
    for (int round = 0; round < 64; ++round) {
        for (int value = 0; value < 256; ++value) {
            bytes += static_cast<char>(value);
        }
    }
    const std::string file = fixture.file("Users/a/Documents/caf\xe9 \n blob.bin", bytes);
    const std::string album = fixture.folder("Users/a/Pictures/Album");
    fixture.file("Users/a/Pictures/Album/sub/photo.raw", bytes.substr(1000, 3000));
    fixture.symlink("sub/photo.raw", "Users/a/Pictures/Album/latest");

    const DeletionOutcome outcome =
        perform({request("Users/a/Documents/caf\xe9 \n blob.bin", Removal::Trash),
                 request("Users/a/Pictures/Album", Removal::Trash)});
    ASSERT_EQ(outcome.report.deletedPaths, (std::vector{file, album}));
    ASSERT_EQ(outcome.entries.size(), 2u);
    EXPECT_FALSE(exists(file));
    EXPECT_FALSE(exists(album));

    DeletionHistory history(DeletionHistory::defaultLocation(locations));
    history.record(outcome.entries);
    for (const HistoryEntry& entry : outcome.entries) {
        const Result<void> restored = history.restore(entry);
        ASSERT_TRUE(restored.ok()) << restored.error().description();
    }
    EXPECT_EQ(contentsOf(file), bytes);
    EXPECT_EQ(contentsOf(album + "/sub/photo.raw"), bytes.substr(1000, 3000));
    EXPECT_TRUE(isLink(album + "/latest"));
    for (const HistoryEntry& entry : history.entries()) {
        EXPECT_TRUE(entry.restored) << entry.originalPath;
        EXPECT_FALSE(exists(*entry.trashPath));
    }
}

// A link goes as the link itself however it is written, and a path that leads through a
// link is refused, so nothing outside what was asked for is lost.
TEST_F(DeletionEngineTest, NeverActsThroughALink) {
    fixture.file("outside/keep/data.txt", "data");
    fixture.file("etc/passwd", "root");
    fixture.file("Users/a/Desktop/keep.txt", "keep");
    fixture.symlink(fixture.path("outside/keep"), "Users/a/Downloads/folderlink");
    fixture.symlink(fixture.path("outside/keep/data.txt"), "Users/a/Downloads/filelink");
    fixture.symlink(fixture.path("etc"), "Users/a/Downloads/etclink");

    const std::string folderLink = std::to_string(occupied("Users/a/Downloads/folderlink"));
    const std::string fileLink = std::to_string(occupied("Users/a/Downloads/filelink"));
    const DeletionOutcome outcome = perform({
        request("Users/a/Downloads/folderlink/", Removal::Permanent),
        request("Users/a/Downloads/filelink", Removal::Trash),
        request("Users/a/Downloads/etclink/passwd", Removal::Permanent),
        request("Users/a/Downloads/../Desktop", Removal::Permanent),
    });
    const std::vector<std::string> expected = {
        "freed " + folderLink,
        "movedToTrash " + fileLink,
        "deleted Users/a/Downloads/folderlink/",
        "deleted Users/a/Downloads/filelink",
        "failed Users/a/Downloads/etclink/passwd: A folder on the way to this item is a symbolic "
        "link, so the item was left alone.",
        "skipped Users/a/Downloads/../Desktop: Standard folder in your user account. You can "
        "delete its contents, but not the folder.",
        "entry Users/a/Downloads/folderlink size " + folderLink + " date 1700000000 gone",
        "entry Users/a/Downloads/filelink size " + fileLink +
            " date 1700000000 in Users/a/.local/share/Trash/files/filelink",
    };
    EXPECT_EQ(describer.lines(outcome), expected);
    EXPECT_FALSE(exists(fixture.path("Users/a/Downloads/folderlink")));
    EXPECT_TRUE(isLink(locations.trashFolder() + "/filelink"));
    EXPECT_EQ(contentsOf(fixture.path("outside/keep/data.txt")), "data");
    EXPECT_EQ(contentsOf(fixture.path("etc/passwd")), "root");
    EXPECT_TRUE(exists(fixture.path("Users/a/Desktop/keep.txt")));
}

// A clock that, the first time it is read, swaps a folder for a link. The Trash reads it
// for the description between the check of a request and the move itself.
class SwappingClock final : public Clock {
public:
    SwappingClock(std::string folder, std::string linkTarget)
        : m_folder(std::move(folder))
        , m_linkTarget(std::move(linkTarget)) {}
    [[nodiscard]] Timestamp now() const override {
        if (!m_swapped) {
            m_swapped = rename(m_folder.c_str(), (m_folder + ".before").c_str()) == 0 &&
                        symlink(m_linkTarget.c_str(), m_folder.c_str()) == 0;
        }
        return 1'700'000'000;
    }
    [[nodiscard]] bool swapped() const { return m_swapped; }

private:
    std::string m_folder;
    std::string m_linkTarget;
    mutable bool m_swapped = false;
};

// A folder on the way swapped for a link after the check: what is moved is the item that was
// checked, never the protected file of the same name the link leads to.
TEST_F(DeletionEngineTest, ActsOnTheItemCheckedWhenItsFolderIsSwappedForALink) {
    fixture.file("etc/passwd", "root");
    fixture.file("Users/a/Downloads/stuff/passwd", "ordinary");
    const SwappingClock swapping(fixture.path("Users/a/Downloads/stuff"), fixture.path("etc"));
    const SafetyPolicy policy(locations, workspace);
    const Trash trash(locations, swapping);
    const DeletionOutcome outcome =
        DeletionEngine(policy, trash, swapping)
            .perform({request("Users/a/Downloads/stuff/passwd", Removal::Trash)});
    ASSERT_TRUE(swapping.swapped());
    EXPECT_EQ(contentsOf(fixture.path("etc/passwd")), "root");
    EXPECT_EQ(contentsOf(locations.trashFolder() + "/passwd"), "ordinary");
    EXPECT_EQ(outcome.report.deletedPaths.size(), 1u);
}

// What a run credits is what each item occupies as it goes, measured without following a
// link, not what it occupied when it was proposed: a big file replaced by a small link frees
// only the link, and a folder frees everything in it.
TEST_F(DeletionEngineTest, CreditsWhatTheItemOccupiesAsItGoes) {
    fixture.symlink("small", "Users/a/Downloads/big.iso");
    fixture.allocatedFile("Users/a/Downloads/folder/part", 1'048'576);
    fixture.symlink(fixture.path("Users/a/Downloads/folder"), "Users/a/Downloads/folder/loop");
    const std::int64_t link = occupied("Users/a/Downloads/big.iso");
    const std::int64_t folder = occupied("Users/a/Downloads/folder");
    ASSERT_GT(folder, 1'048'576);

    const DeletionOutcome outcome =
        perform({request("Users/a/Downloads/big.iso", Removal::Trash),
                 request("Users/a/Downloads/folder", Removal::Permanent)});
    EXPECT_EQ(outcome.report.movedToTrash, link);
    EXPECT_EQ(outcome.report.freed, folder);
    ASSERT_EQ(outcome.entries.size(), 2u);
    EXPECT_EQ(outcome.entries[0].size, link);
    EXPECT_EQ(outcome.entries[1].size, folder);
}

// An item is carried out only at the risk the user confirmed or a lower one; an item whose
// verdict is worse by now is skipped with the verdict's reason, as a protected one is.
TEST_F(DeletionEngineTest, SkipsAnItemRiskierThanTheUserConfirmed) {
    fixture.file("Users/a/Projects/notes.txt", "personal");
    fixture.file("Users/a/Downloads/safe.zip", "zip");
    fixture.file("Users/a/Projects/confirmed.txt", "personal");
    DeletionRequest personal = request("Users/a/Projects/notes.txt", Removal::Permanent);
    personal.confirmedRisk = Risk::Safe;
    DeletionRequest download = request("Users/a/Downloads/safe.zip", Removal::Permanent);
    download.confirmedRisk = Risk::Safe;
    const std::int64_t zip = occupied("Users/a/Downloads/safe.zip");
    const std::int64_t confirmed = occupied("Users/a/Projects/confirmed.txt");
    const DeletionOutcome outcome = perform(
        {personal, download, request("Users/a/Projects/confirmed.txt", Removal::Permanent)});
    const std::vector<std::string> expected = {
        "freed " + std::to_string(zip + confirmed),
        "movedToTrash 0",
        "deleted Users/a/Downloads/safe.zip",
        "deleted Users/a/Projects/confirmed.txt",
        "skipped Users/a/Projects/notes.txt: Personal file. Make sure you have a backup if it "
        "matters.",
        "entry Users/a/Downloads/safe.zip size " + std::to_string(zip) + " date 1700000000 gone",
        "entry Users/a/Projects/confirmed.txt size " + std::to_string(confirmed) +
            " date 1700000000 gone",
    };
    EXPECT_EQ(describer.lines(outcome), expected);
    EXPECT_EQ(contentsOf(fixture.path("Users/a/Projects/notes.txt")), "personal");
}

// A path that is not absolute would be taken against the working directory, whatever item
// the request was made for.
TEST_F(DeletionEngineTest, RefusesAPathThatIsNotAbsolute) {
    const std::string note = fixture.file("Users/a/Documents/note.txt", "note");
    const Descriptor previous(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(previous.valid());
    ASSERT_EQ(chdir(fixture.root().c_str()), 0);
    const DeletionOutcome outcome = perform({DeletionRequest{.path = "Users/a/Documents/note.txt",
                                                             .removal = Removal::Permanent,
                                                             .confirmedRisk = Risk::Review}});
    EXPECT_EQ(fchdir(previous.get()), 0);

    EXPECT_EQ(describer.lines(outcome),
              (std::vector<std::string>{
                  "freed 0", "movedToTrash 0",
                  "failed Users/a/Documents/note.txt: This isn’t a complete path, so the item was "
                  "left alone."}));
    EXPECT_EQ(contentsOf(note), "note");
}

TEST(DeletionEngineFailureReason, NamesTheCommonFailuresAndPassesOthersOn) {
    struct Case {
        int code;
        std::string detail;
        std::string expected;
    };
    const Case cases[] = {
        {ENOENT, "", noLongerExists},
        {ENOENT, "The item in the Trash is not the one that was deleted.", noLongerExists},
        {EACCES, "", noPermission},
        {EPERM, "", protectedOrInUse},
        {EXDEV, "This volume has no Trash that can be used, so the item was left where it is.",
         "This volume has no Trash that can be used, so the item was left where it is."},
        {EIO, "", systemErrorText(EIO)},
        {EBUSY, "", systemErrorText(EBUSY)},
    };
    for (const Case& c : cases) {
        const FileError error{
            .code = c.code, .operation = FileOperation::Remove, .path = "/x", .detail = c.detail};
        EXPECT_EQ(DeletionEngine::failureReason(error), c.expected) << c.code;
    }
}

} // namespace
} // namespace dorvale
