#include "model/DeletionHistory.hpp"

#include "platform/FileOperations.hpp"
#include "platform/Trash.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"
#include "support/HostileFiles.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::contentsOf;
using test::exists;
using test::FixtureTree;
using test::runUnprivileged;
using test::unprivilegedId;

HistoryEntry entryFor(std::string originalPath, std::optional<std::string> trashPath = {},
                      std::int64_t size = 1) {
    return HistoryEntry{.id = Uuid::random(),
                        .date = referenceDate + 1000,
                        .originalPath = std::move(originalPath),
                        .trashPath = std::move(trashPath),
                        .size = size,
                        .restored = false};
}

std::vector<HistoryEntry> numberedEntries(int count, std::int64_t firstSize) {
    std::vector<HistoryEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(entryFor("/a/" + std::to_string(i), {}, firstSize + i));
    }
    return entries;
}

class DeletionHistoryTest : public ::testing::Test {
protected:
    FixtureTree fixture;
    Locations locations = Locations::inside(fixture.root());
    Trash trash{locations};
    std::string file = DeletionHistory::defaultLocation(locations);

    // Moves a new file at `relative` to the fixture's Trash and returns its history entry.
    HistoryEntry trashed(const std::string& relative, std::string_view contents = "data") {
        const std::string original = fixture.file(relative, contents);
        const Result<std::string> moved = trash.moveToTrash(original);
        EXPECT_TRUE(moved.ok()) << moved.error().description();
        return entryFor(original, moved.ok() ? std::optional(moved.value()) : std::nullopt);
    }
};

TEST_F(DeletionHistoryTest, LivesInTheProgramsDataFolderAndStartsEmpty) {
    EXPECT_EQ(file, fixture.path("Users/a/.local/share/Dorvale/history.json"));
    const DeletionHistory history(file);
    EXPECT_TRUE(history.entries().empty());
    EXPECT_TRUE(exists(fixture.path("Users/a/.local/share/Dorvale")));
    EXPECT_FALSE(exists(file));
}

// The exact bytes other readers of the file rely on: a compact array, the key order, an
// upper-case id, the date counted from 2001, "\/" for "/", and no "trashPath" key for an
// outright deletion.
TEST_F(DeletionHistoryTest, WritesTheFileFormatExactly) {
    DeletionHistory history(file);
    const HistoryEntry trashedEntry{.id = *Uuid::parse("0123abcd-4567-89ef-0123-456789abcdef"),
                                    .date = referenceDate + 1.5,
                                    .originalPath = "/Users/a/\"quoted\"\\name",
                                    .trashPath = "/t/files/x",
                                    .size = 42,
                                    .restored = false};
    const HistoryEntry removedEntry{.id = *Uuid::parse("FEDCBA98-7654-4321-8000-000000000001"),
                                    .date = referenceDate - 100,
                                    .originalPath = "/caf\xc3\xa9\ttab",
                                    .trashPath = std::nullopt,
                                    .size = -7,
                                    .restored = true};
    history.record({trashedEntry, removedEntry});
    EXPECT_EQ(contentsOf(file),
              "[{\"id\":\"0123ABCD-4567-89EF-0123-456789ABCDEF\",\"date\":1.5,"
              "\"originalPath\":\"\\/Users\\/a\\/\\\"quoted\\\"\\\\name\","
              "\"trashPath\":\"\\/t\\/files\\/x\",\"size\":42,\"restored\":false},"
              "{\"id\":\"FEDCBA98-7654-4321-8000-000000000001\",\"date\":-100,"
              "\"originalPath\":\"\\/caf\xc3\xa9\\ttab\",\"size\":-7,\"restored\":true}]");
    EXPECT_EQ(DeletionHistory(file).entries(), history.entries());
}

// A name that is not UTF-8 keeps the six keys readable by anyone and its exact bytes in an
// extra key, so nothing is lost and the file stays valid JSON.
TEST_F(DeletionHistoryTest, KeepsPathsThatAreNotUtf8Exactly) {
    const HistoryEntry entry = entryFor("/Users/a/bad \xff\xfe name", "/t/files/bad \xff\xfe name");
    DeletionHistory(file).record({entry});

    const auto parsed = nlohmann::json::parse(contentsOf(file), nullptr, false);
    ASSERT_TRUE(parsed.is_array());
    EXPECT_EQ(parsed[0]["originalPath"], "/Users/a/bad \xef\xbf\xbd\xef\xbf\xbd name");
    EXPECT_EQ(DeletionHistory(file).entries(), std::vector<HistoryEntry>{entry});
}

TEST_F(DeletionHistoryTest, RecordPutsNewEntriesFirstAndKeepsFiveThousand) {
    DeletionHistory history(file);
    int notifications = 0;
    history.setEntriesObserver([&] { ++notifications; });
    history.record(numberedEntries(4999, 0));
    const std::vector<HistoryEntry> newest = numberedEntries(3, 10'000);
    history.record(newest);

    const auto& entries = history.entries();
    ASSERT_EQ(entries.size(), 5000u);
    EXPECT_EQ(std::vector(entries.begin(), entries.begin() + 3), newest);
    EXPECT_EQ(entries[3].size, 0);
    EXPECT_EQ(entries.back().size, 4996);
    EXPECT_EQ(notifications, 2);
    EXPECT_EQ(DeletionHistory(file).entries(), entries);
}

TEST_F(DeletionHistoryTest, RecordingNothingStillRewritesTheFile) {
    DeletionHistory history(file);
    history.record(numberedEntries(2, 0));
    const std::string written = contentsOf(file);
    ASSERT_EQ(unlink(file.c_str()), 0);
    history.record({});
    EXPECT_EQ(history.entries().size(), 2u);
    EXPECT_EQ(contentsOf(file), written);
}

TEST_F(DeletionHistoryTest, ClearingLeavesAnEmptyArray) {
    DeletionHistory history(file);
    history.record(numberedEntries(3, 0));
    bool told = false;
    history.setEntriesObserver([&] { told = history.entries().empty(); });
    history.clear();
    EXPECT_TRUE(told);
    EXPECT_EQ(contentsOf(file), "[]");
}

TEST_F(DeletionHistoryTest, ReadsStrictlyAndSetsAnUnreadableFileAside) {
    const std::string id = "\"id\":\"0123abcd-4567-89ef-0123-456789abcdef\"";
    const std::string valid =
        "{" + id + ",\"date\":0,\"originalPath\":\"\\/a\\/b\",\"size\":5," + "\"restored\":false";
    struct Case {
        const char* name;
        std::string text;
        int entries; // -1: the file cannot be read
    };
    const Case cases[] = {
        {"valid, with null trash path, plain slash and extra key",
         "[" + valid + ",\"trashPath\":null,\"extra\":[1]}, {" + id +
             ",\"date\":1.25,\"originalPath\":\"/c\",\"trashPath\":\"/t/c\",\"size\":1,"
             "\"restored\":true}]",
         2},
        {"empty array", "[]", 0},
        {"entry lacking restored", "[{" + id + ",\"date\":0,\"originalPath\":\"/a\",\"size\":5}]",
         -1},
        {"size as text",
         "[{" + id +
             ",\"date\":0,\"originalPath\":\"/a\",\"size\":\"5\","
             "\"restored\":false}]",
         -1},
        {"fractional size",
         "[{" + id +
             ",\"date\":0,\"originalPath\":\"/a\",\"size\":5.5,"
             "\"restored\":false}]",
         -1},
        {"size beyond 64 bits",
         "[{" + id +
             ",\"date\":0,\"originalPath\":\"/a\","
             "\"size\":9223372036854775808,\"restored\":false}]",
         -1},
        {"trash path of the wrong type", "[" + valid + ",\"trashPath\":7}]", -1},
        {"malformed id",
         "[{\"id\":\"nope\",\"date\":0,\"originalPath\":\"/a\",\"size\":5,"
         "\"restored\":false}]",
         -1},
        {"one good entry and one bad", "[" + valid + "},{}]", -1},
        {"object instead of array", valid + "}", -1},
        {"truncated", "[" + valid, -1},
        {"invalid UTF-8 in the text", "[" + valid + ",\"x\":\"\xff\"}]", -1},
        {"empty file", "", -1},
        {"64 levels in an extra key",
         "[" + valid + ",\"extra\":" + std::string(62, '[') + std::string(62, ']') + "}]", 1},
        {"65 levels in an extra key",
         "[" + valid + ",\"extra\":" + std::string(63, '[') + std::string(63, ']') + "}]", -1},
        {"100,000 levels", std::string(100'000, '[') + std::string(100'000, ']'), -1},
        {"over the size limit",
         "[" + valid + ",\"extra\":\"" + std::string(DeletionHistory::maximumFileBytes, 'x') +
             "\"}]",
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixtureTree folder;
        const std::string path = folder.file("history.json", c.text);
        DeletionHistory history(path);
        if (c.entries >= 0) {
            EXPECT_EQ(history.entries().size(), static_cast<std::size_t>(c.entries));
            EXPECT_EQ(contentsOf(path), c.text);
            continue;
        }
        EXPECT_TRUE(history.entries().empty());
        EXPECT_EQ(contentsOf(path + ".unreadable"), c.text);
        history.record(numberedEntries(1, 0));
        EXPECT_EQ(DeletionHistory(path).entries(), history.entries());
        EXPECT_EQ(contentsOf(path + ".unreadable"), c.text);
    }
}

// A FIFO in the file's place would hold the program's start until someone wrote to it.
TEST_F(DeletionHistoryTest, WhatIsNoRegularFileIsSetAsideWithoutWaiting) {
    const std::string fifo = fixture.fifo("Users/a/.local/share/Dorvale/history.json");
    std::optional<std::size_t> entries;
    EXPECT_TRUE(test::finishesWithoutAWriter(
        {fifo}, [&] { entries = DeletionHistory(file).entries().size(); }));
    EXPECT_EQ(entries, 0U);
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(exists(file + ".unreadable"));
}

TEST_F(DeletionHistoryTest, ValuesReadBackAsWritten) {
    FixtureTree folder;
    const std::string path = folder.file(
        "history.json", "[{\"restored\":true,\"size\":-3,\"trashPath\":null,\"originalPath\":"
                        "\"\\/x\",\"date\":-2.5,\"id\":\"0123abcd-4567-89ef-0123-456789abcdef\"}]");
    const HistoryEntry expected{.id = *Uuid::parse("0123ABCD-4567-89EF-0123-456789ABCDEF"),
                                .date = referenceDate - 2.5,
                                .originalPath = "/x",
                                .trashPath = std::nullopt,
                                .size = -3,
                                .restored = true};
    EXPECT_EQ(DeletionHistory(path).entries(), std::vector<HistoryEntry>{expected});
}

TEST_F(DeletionHistoryTest, AnEarlierSetAsideFileIsNeverReplaced) {
    fixture.file("Users/a/.local/share/Dorvale/history.json.unreadable", "first");
    fixture.file("Users/a/.local/share/Dorvale/history.json", "second");
    const DeletionHistory history(file);
    EXPECT_EQ(contentsOf(file + ".unreadable"), "first");
    EXPECT_EQ(contentsOf(file + ".unreadable.2"), "second");
}

TEST_F(DeletionHistoryTest, RestoreRecreatesADeletedFolderChain) {
    DeletionHistory history(file);
    const HistoryEntry entry = trashed("Users/a/Projects/deep/er/notes.txt", "notes");
    ASSERT_TRUE(removeForGood(fixture.path("Users/a/Projects")).ok());
    history.record({entry});
    int notifications = 0;
    history.setEntriesObserver([&] { ++notifications; });

    const Result<void> restored = history.restore(entry);

    ASSERT_TRUE(restored.ok()) << restored.error().description();
    EXPECT_EQ(contentsOf(entry.originalPath), "notes");
    EXPECT_FALSE(exists(*entry.trashPath));
    EXPECT_FALSE(exists(locations.homeTrash() + "/info/notes.txt.trashinfo"));
    EXPECT_TRUE(history.entries()[0].restored);
    EXPECT_EQ(notifications, 1);
    EXPECT_NE(contentsOf(file).find("\"restored\":true"), std::string::npos);
}

// Something new at the original path is never replaced: both items stay, nothing is
// marked and the file is not rewritten.
TEST_F(DeletionHistoryTest, RestoreNeverReplacesWhatNowStandsThere) {
    DeletionHistory history(file);
    const HistoryEntry entry = trashed("Users/a/report.txt", "old");
    fixture.file("Users/a/report.txt", "new");
    history.record({entry});
    const std::string written = contentsOf(file);

    const Result<void> restored = history.restore(entry);

    ASSERT_FALSE(restored.ok());
    EXPECT_EQ(restored.error().code, EEXIST);
    EXPECT_FALSE(restored.error().detail.empty());
    EXPECT_EQ(contentsOf(entry.originalPath), "new");
    EXPECT_EQ(contentsOf(*entry.trashPath), "old");
    EXPECT_TRUE(exists(locations.homeTrash() + "/info/report.txt.trashinfo"));
    EXPECT_FALSE(history.entries()[0].restored);
    EXPECT_EQ(contentsOf(file), written);
}

// The item in the Trash must be the one recorded; an item whose description names another
// place, or one that is gone, is not moved.
TEST_F(DeletionHistoryTest, RestoreChecksTheItemInTheTrashFirst) {
    DeletionHistory history(file);
    HistoryEntry elsewhere = trashed("Users/a/one/a.txt");
    elsewhere.originalPath = fixture.path("Users/a/two/a.txt");
    HistoryEntry gone = trashed("Users/a/b.txt");
    ASSERT_TRUE(removeForGood(*gone.trashPath).ok());
    for (const HistoryEntry& entry : {elsewhere, gone}) {
        SCOPED_TRACE(entry.originalPath);
        const Result<void> restored = history.restore(entry);
        ASSERT_FALSE(restored.ok());
        EXPECT_EQ(restored.error().code, ENOENT);
        EXPECT_FALSE(exists(entry.originalPath));
    }
    EXPECT_TRUE(exists(*elsewhere.trashPath));
    EXPECT_FALSE(exists(fixture.path("Users/a/two")));
    EXPECT_FALSE(exists(file));
}

TEST_F(DeletionHistoryTest, RestoreOfAnEntryNoLongerListedStillMovesItBack) {
    DeletionHistory history(file);
    const HistoryEntry entry = trashed("Users/a/kept.txt");
    history.record({entry});
    history.clear();
    ASSERT_TRUE(history.restore(entry).ok());
    EXPECT_TRUE(exists(entry.originalPath));
    EXPECT_EQ(contentsOf(file), "[]");
}

TEST_F(DeletionHistoryTest, RestoreOfAnOutrightDeletionDoesNothing) {
    DeletionHistory history(file);
    const HistoryEntry entry = entryFor(fixture.path("Users/a/removed"));
    history.record({entry});
    ASSERT_EQ(unlink(file.c_str()), 0);
    EXPECT_TRUE(history.restore(entry).ok());
    EXPECT_FALSE(history.entries()[0].restored);
    EXPECT_FALSE(exists(file));
}

// The whole road with a name that is not UTF-8: into the Trash, through the file and a
// fresh store, and back to the same bytes.
TEST_F(DeletionHistoryTest, NameThatIsNotUtf8SurvivesTrashFileAndRestore) {
    const HistoryEntry entry = trashed("Users/a/caf\xe9 \xff.txt", "bytes");
    DeletionHistory(file).record({entry});
    DeletionHistory reloaded(file);
    ASSERT_EQ(reloaded.entries(), std::vector<HistoryEntry>{entry});
    ASSERT_TRUE(reloaded.restore(reloaded.entries()[0]).ok());
    EXPECT_EQ(contentsOf(fixture.path("Users/a/caf\xe9 \xff.txt")), "bytes");
    EXPECT_TRUE(reloaded.entries()[0].restored);
}

// A user who may not write the original folder gets the refusal, and the item stays in the
// Trash with its entry unmarked.
TEST_F(DeletionHistoryTest, RestoreIntoAFolderTheUserMayNotWriteFails) {
    const std::string original = fixture.file("Users/a/mine/file.txt", "x");
    for (const char* folder : {"Users/a/.local/share/Trash/files",
                               "Users/a/.local/share/Trash/info", "Users/a/.local/share/Dorvale"}) {
        fixture.folder(folder);
    }
    for (const char* path : {"Users/a/mine", "Users/a/mine/file.txt", "Users/a/.local/share/Trash",
                             "Users/a/.local/share/Trash/files", "Users/a/.local/share/Trash/info",
                             "Users/a/.local/share/Dorvale"}) {
        fixture.setOwner(path, unprivilegedId, unprivilegedId);
    }
    const int status = runUnprivileged([&] {
        const Result<std::string> moved = Trash(locations).moveToTrash(original);
        if (!moved.ok() || chmod(fixture.path("Users/a/mine").c_str(), 0555) != 0) {
            return 1;
        }
        DeletionHistory history(file);
        history.record({entryFor(original, moved.value())});
        const Result<void> restored = history.restore(history.entries()[0]);
        if (restored.ok() || restored.error().code != EACCES) {
            return 2;
        }
        return exists(moved.value()) && !exists(original) && !history.entries()[0].restored ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
}

// Two processes on one history: each change is made to the file as it is then, so no copy
// loses what the other recorded, restored or cleared.
TEST_F(DeletionHistoryTest, TwoStoresOnOneFileKeepEachOthersChanges) {
    DeletionHistory first(file);
    DeletionHistory second(file);
    const HistoryEntry kept = trashed("Users/a/kept.txt");
    first.record({kept});
    second.record(numberedEntries(2, 10));
    EXPECT_EQ(second.entries().size(), 3U);
    ASSERT_TRUE(second.restore(kept).ok());
    first.record(numberedEntries(1, 20));

    const std::vector<HistoryEntry> onDisk = DeletionHistory(file).entries();
    ASSERT_EQ(onDisk.size(), 4U);
    EXPECT_EQ(onDisk[0].size, 20);
    EXPECT_EQ(onDisk[1].size, 10);
    EXPECT_TRUE(onDisk[3].restored);
    EXPECT_EQ(first.entries(), onDisk);

    second.clear();
    first.record(numberedEntries(1, 30));
    ASSERT_EQ(DeletionHistory(file).entries().size(), 1U);
    EXPECT_EQ(DeletionHistory(file).entries()[0].size, 30);
}

TEST_F(DeletionHistoryTest, ProcessesRecordingAtOnceLoseNothing) {
    constexpr int processes = 4;
    constexpr int recordsEach = 25;
    DeletionHistory(file).record({});
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DeletionHistory history(file);
            for (int r = 0; r < recordsEach; ++r) {
                history.record(numberedEntries(1, p * 1000 + r));
            }
            std::_Exit(history.hasUnwrittenChanges() ? 1 : 0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(DeletionHistory(file).entries().size(),
              static_cast<std::size_t>(processes * recordsEach));
}

// On a full disk the items are in the Trash all the same: their entries stay in memory and
// reach the file with the next change, or when the store goes; the failure is logged once.
TEST_F(DeletionHistoryTest, ChangesWhoseWriteFailedAreWrittenLater) {
    const std::string folder = fixture.folder("Users/a/.local/share/Dorvale");
    fixture.setOwner("Users/a/.local/share/Dorvale", unprivilegedId, unprivilegedId);
    const auto writable = [&](bool yes) {
        return chmod(folder.c_str(), yes ? 0755 : 0555) == 0;
    };
    const int status = runUnprivileged([&] {
        {
            DeletionHistory history(file);
            history.record(numberedEntries(1, 1));
            testing::internal::CaptureStderr();
            const bool refused = writable(false);
            history.record(numberedEntries(1, 2));
            history.record(numberedEntries(1, 3));
            const std::string log = testing::internal::GetCapturedStderr();
            if (!refused || history.entries().size() != 3 || !history.hasUnwrittenChanges() ||
                std::count(log.begin(), log.end(), '\n') != 1) {
                return 1;
            }
            if (!writable(true) || DeletionHistory(file).entries().size() != 1) {
                return 2;
            }
            history.record(numberedEntries(1, 4));
            if (history.hasUnwrittenChanges() || DeletionHistory(file).entries().size() != 4) {
                return 3;
            }
            writable(false);
            history.record(numberedEntries(1, 5));
            writable(true);
        }
        const auto entries = DeletionHistory(file).entries();
        return entries.size() == 5 && entries[0].size == 5 ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
}

// Paths far longer than anyone's: the oldest entries are left out rather than writing a file
// that the next start would refuse.
TEST_F(DeletionHistoryTest, AWriteNeverOutgrowsTheFileLimit) {
    DeletionHistory history(file);
    const std::string longPath = "/" + std::string(1024 * 1024, 'p');
    std::vector<HistoryEntry> entries;
    for (int i = 0; i < 20; ++i) {
        entries.push_back(entryFor(longPath + std::to_string(i)));
    }
    history.record(entries);
    EXPECT_LT(history.entries().size(), 20U);
    EXPECT_GT(history.entries().size(), 10U);
    EXPECT_LE(contentsOf(file).size(), DeletionHistory::maximumFileBytes);
    EXPECT_EQ(DeletionHistory(file).entries(), history.entries());
    EXPECT_EQ(history.entries()[0], entries[0]);
}

} // namespace
} // namespace dorvale
