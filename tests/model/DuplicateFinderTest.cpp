#include "model/DuplicateFinder.hpp"

#include "model/FileNode.hpp"
#include "platform/Descriptor.hpp"
#include "support/FixtureTree.hpp"
#include "support/Traced.hpp"
#include "support/TreeBuilder.hpp"
#include "support/Unprivileged.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace dorvale {
namespace {

using test::FixtureTree;
using test::TreeBuilder;

// Bytes that differ from one seed to the next all the way through.
std::string pattern(std::size_t length, std::uint32_t seed) {
    std::string bytes(length, '\0');
    std::uint32_t state = seed * 2'654'435'761u + 1;
    for (char& byte : bytes) {
        state = state * 1'664'525u + 1'013'904'223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

// Bytes this process has read through read(2) so far, as the kernel counts them.
std::int64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string field;
    std::int64_t value = 0;
    while (io >> field >> value) {
        if (field == "rchar:") {
            return value;
        }
    }
    return -1;
}

// A scanned tree whose file nodes stand for real files in a fixture folder.
class DuplicateFinderTest : public testing::Test {
protected:
    // A file with these contents and a node of the same length inside `parent`.
    FileNode* add(FileNode* parent, std::string_view name, const std::string& contents,
                  double modified = 0, std::optional<std::int64_t> size = {}) {
        m_fixture.file(relative(parent, name), contents);
        const auto length = static_cast<std::int64_t>(contents.size());
        FileNode* node = m_tree.file(parent, name, size.value_or(length),
                                     {.logicalSize = length, .modified = modified});
        return node;
    }
    FileNode* add(std::string_view name, const std::string& contents, double modified = 0,
                  std::optional<std::int64_t> size = {}) {
        return add(root(), name, contents, modified, size);
    }
    // A second name of the file of `existing`, with a node of its own as a caller could give.
    FileNode* link(const FileNode* existing, std::string_view name) {
        m_fixture.hardLink(relative(existing->parent(), existing->name()), name);
        return m_tree.file(root(), name, existing->size(),
                           {.logicalSize = existing->logicalSize()});
    }
    FileNode* folder(FileNode* parent, std::string_view name) {
        m_fixture.folder(relative(parent, name));
        return m_tree.folder(parent, name);
    }
    FileNode* root() const { return m_tree.root(); }
    std::string path(const FileNode* node) const { return node->path(); }

    // Ends the tree; nodes can be marked deleted afterwards.
    void finish() {
        m_result = m_tree.finish();
        m_finished = true;
    }
    void markDeleted(const FileNode* node) { m_result.markDeleted(*node); }
    const std::vector<const FileNode*>& files() const { return m_result.files; }

    // On the threads the program would choose, unless `threads` is given.
    std::vector<DuplicateGroup> search(std::int64_t minimumSize = 0,
                                       const DuplicateFinder::Progress& progress = {},
                                       std::size_t threads = 0) {
        if (!m_finished) {
            finish();
        }
        std::vector<DuplicateCandidate> candidates =
            DuplicateFinder::snapshot(m_result.files, minimumSize);
        DuplicateFinder::addPaths(candidates);
        return DuplicateFinder::find(candidates, minimumSize, progress, threads);
    }

private:
    std::string relative(const FileNode* parent, std::string_view name) const {
        std::string folder = parent->path().substr(m_fixture.root().size());
        return folder.empty() ? std::string(name) : folder.substr(1) + "/" + std::string(name);
    }

    FixtureTree m_fixture;
    TreeBuilder m_tree{m_fixture.root()};
    ScanResult m_result;
    bool m_finished = false;
};

using Files = std::vector<const FileNode*>;

TEST_F(DuplicateFinderTest, GroupsIdenticalFilesButNotOneDifferingInItsLastByte) {
    const std::string contents(2'000'000, 'a');
    std::string nearMiss = contents;
    nearMiss.back() = 'b';
    FileNode* first = add("first.bin", contents);
    FileNode* second = add("second.bin", contents);
    add("near-miss.bin", nearMiss);
    // Short enough for the first 64 KiB to be the whole content.
    FileNode* shortFirst = add("short", "abc");
    FileNode* shortSecond = add("short copy", "abc");

    const std::vector<DuplicateGroup> groups = search();

    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].files, (Files{first, second}));
    EXPECT_EQ(groups[0].id, "bcf7f9d1b4311c3352e60502255ce09a6744df84e8f2c89f79c4b5d74933a95a");
    EXPECT_EQ(groups[0].size, 2'000'000);
    EXPECT_EQ(groups[1].files, (Files{shortFirst, shortSecond}));
    EXPECT_EQ(groups[1].id, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(DuplicateFinderTest, ListsOldestFirstAndTakesTheSizeOfTheFirstInScan) {
    const std::string contents = pattern(70'000, 1);
    FileNode* a = add("a", contents, 200, 8'192);
    FileNode* b = add("b", contents, 100, 4'096);
    FileNode* c = add("c", contents, 200, 12'288);
    FileNode* oldest = add("oldest", contents, 50, 16'384);

    const std::vector<DuplicateGroup> groups = search();

    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].files, (Files{oldest, b, a, c}));
    EXPECT_EQ(groups[0].size, 8'192);
    EXPECT_EQ(groups[0].reclaimable(), 3 * 8'192);
}

TEST_F(DuplicateFinderTest, LeavesOutBundlesPhotoLibrariesDeletedAndSmallFiles) {
    const std::int64_t minimum = 1'000;
    const std::string contents = pattern(minimum, 2);
    FileNode* kept = add("kept", contents);
    FileNode* copy = add("copy", contents);
    add(folder(folder(root(), "Tool.app"), "Contents"), "copy", contents);
    add(folder(folder(root(), "Pictures.photoslibrary"), "originals"), "copy", contents);
    FileNode* deleted = add("deleted copy", contents);
    const std::string small = pattern(minimum - 1, 3);
    add("small", small);
    add("small copy", small);
    finish();
    markDeleted(deleted);

    const std::vector<DuplicateGroup> groups = search(minimum);

    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].files, (Files{kept, copy}));
}

// The copy taken on the thread that owns the tree holds only files that can have a copy,
// in scan order, and builds no path: those are built later, on the search's own thread.
TEST_F(DuplicateFinderTest, SnapshotKeepsOnlySharedLengthsAndLeavesPathsForLater) {
    const std::int64_t minimum = 100;
    FileNode* first = add("first", pattern(200, 1));
    add("unique", pattern(300, 2));
    add("small", pattern(50, 3));
    add("small twin", pattern(50, 4));
    FileNode* deleted = add("deleted", pattern(300, 5));
    FileNode* second = add("second", pattern(200, 6));
    finish();
    markDeleted(deleted);

    std::vector<DuplicateCandidate> candidates = DuplicateFinder::snapshot(files(), minimum);

    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].node, first);
    EXPECT_EQ(candidates[1].node, second);
    EXPECT_TRUE(candidates[0].path.empty());
    DuplicateFinder::addPaths(candidates);
    EXPECT_EQ(candidates[1].path, path(second));
}

TEST_F(DuplicateFinderTest, SortsByReclaimableSpace) {
    // The pair is met first, and its shorter length would also put its size group first.
    const std::string pair = pattern(100, 4);
    FileNode* pairA = add("pair a", pair, 0, 15'000'000);
    add("pair b", pair, 0, 15'000'000);
    const std::string triple = pattern(200, 5);
    FileNode* tripleA = add("triple a", triple, 0, 10'000'000);
    add("triple b", triple, 0, 10'000'000);
    add("triple c", triple, 0, 10'000'000);

    const std::vector<DuplicateGroup> groups = search();

    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].files.front(), tripleA);
    EXPECT_EQ(groups[0].reclaimable(), 20'000'000);
    EXPECT_EQ(groups[1].files.front(), pairA);
    EXPECT_EQ(groups[1].reclaimable(), 15'000'000);
}

TEST_F(DuplicateFinderTest, ReadsOnlyFilesThatCouldBeDuplicatesAndOnlyAsFarAsNeeded) {
    // Same lengths, differing within the first 4 KiB and between 4 and 64 KiB; and a file
    // whose length no other file has.
    std::string early = pattern(2'000'000, 6);
    add("early a", early);
    early[100] ^= 1;
    add("early b", early);
    std::string late = pattern(1'500'000, 7);
    add("late a", late);
    late[30'000] ^= 1;
    add("late b", late);
    FileNode* alone = add("alone", pattern(3'000'000, 8));
    const std::int64_t partialReads = 4 * DuplicateFinder::partialKeyBytes;

    const std::int64_t before = bytesReadSoFar();
    EXPECT_TRUE(search().empty());
    const std::int64_t during = bytesReadSoFar() - before;

    ASSERT_GE(before, 0) << "/proc/self/io is not available";
    EXPECT_GE(during, partialReads);
    EXPECT_LT(during, partialReads + 16'384);
    // The counter does see a whole file read.
    const std::int64_t beforeWhole = bytesReadSoFar();
    ASSERT_TRUE(DuplicateFinder::sha256Hex(path(alone)));
    EXPECT_GE(bytesReadSoFar() - beforeWhole, 3'000'000);
}

TEST_F(DuplicateFinderTest, NamesOfOneFileCountAsOneFile) {
    const std::string contents = pattern(100'000, 14);
    FileNode* original = add("original", contents);
    link(original, "original link");
    FileNode* copy = add("copy", contents);
    // Short enough for the first 64 KiB to be the whole content.
    link(add("alone", "abc"), "alone link");

    const std::vector<DuplicateGroup> groups = search();

    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].files, (Files{original, copy}));
    EXPECT_EQ(groups[0].reclaimable(), 100'000);
}

// Changes the first byte of the file. The file system stamps changes with a clock that moves
// in ticks, so the change waits for the tick after the file's last change: otherwise it could
// leave the change time as it was.
void rewriteStart(const std::string& path, bool keepModificationTime) {
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    timespec now{};
    do {
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (std::pair(now.tv_sec, now.tv_nsec) <=
             std::pair(before.st_ctim.tv_sec, before.st_ctim.tv_nsec));
    const Descriptor file(open(path.c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_TRUE(file.valid());
    char first = 0;
    EXPECT_EQ(pread(file.get(), &first, 1, 0), 1);
    first = static_cast<char>(~first);
    EXPECT_EQ(pwrite(file.get(), &first, 1, 0), 1);
    if (keepModificationTime) {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
}

// When the first of two copies changes at its start, counted in the reads of the second
// opening of it (the reading of its whole content): 0 is before that opening.
struct RewriteCase {
    std::string name{};
    int beforeRead = 0;
    bool keepModificationTime = false;

    friend std::ostream& operator<<(std::ostream& out, const RewriteCase& c) {
        return out << c.name;
    }
};

class DuplicateRewriteTest : public DuplicateFinderTest,
                             public testing::WithParamInterface<RewriteCase> {};

TEST_P(DuplicateRewriteTest, FileRewrittenDuringTheSearchJoinsNoGroup) {
    // Longer than one read, so that the file can change between two reads of it.
    const std::string contents = pattern(3 * 1'048'576, 15);
    const std::string target = path(add("a", contents));
    add("b", contents);
    int opens = 0;
    int reads = 0;
    bool rewritten = false;
    const auto beforeCall = [&](const test::TracedCall& call) {
        if (call.number == SYS_openat && call.path == target) {
            ++opens;
            reads = 0;
        } else if (call.number == SYS_read && opens == 2) {
            ++reads;
        } else {
            return;
        }
        if (opens == 2 && reads == GetParam().beforeRead && !rewritten) {
            rewriteStart(target, GetParam().keepModificationTime);
            rewritten = true;
        }
    };

    // One thread: the trace follows the calls of the thread it runs the search on.
    EXPECT_EQ(test::runTraced([&] { return search(0, {}, 1).empty() ? 0 : 1; }, beforeCall), 0);
    EXPECT_TRUE(rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, DuplicateRewriteTest,
    testing::Values(RewriteCase{"beforeItsWholeContentIsRead", 0}, RewriteCase{"whileItIsRead", 2},
                    RewriteCase{"whileItIsReadKeepingItsModificationTime", 2, true}),
    [](const testing::TestParamInfo<RewriteCase>& info) { return info.param.name; });

struct ProgressCase {
    int sizeGroups = 0;
    std::vector<double> reports{};

    friend std::ostream& operator<<(std::ostream& out, const ProgressCase& c) {
        return out << c.sizeGroups << " size groups";
    }
};

class DuplicateProgressTest : public DuplicateFinderTest,
                              public testing::WithParamInterface<ProgressCase> {};

TEST_P(DuplicateProgressTest, ReportsEveryTwentySizeGroupsThenOne) {
    for (int i = 0; i < GetParam().sizeGroups; ++i) {
        const auto length = static_cast<std::size_t>(i + 1);
        std::string contents = pattern(length, 10);
        add("a" + std::to_string(i), contents);
        contents[0] ^= 1;
        add("b" + std::to_string(i), contents);
    }
    add("alone", pattern(1'000, 12));
    std::vector<double> reports;

    EXPECT_TRUE(search(
                    0, [&](double fraction) { reports.push_back(fraction); }, 1)
                    .empty());

    ASSERT_EQ(reports.size(), GetParam().reports.size());
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_DOUBLE_EQ(reports[i], GetParam().reports[i]) << "report " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, DuplicateProgressTest,
                         testing::Values(ProgressCase{0, {1.0}}, ProgressCase{19, {1.0}},
                                         ProgressCase{20, {1.0, 1.0}},
                                         ProgressCase{45, {20.0 / 45, 40.0 / 45, 1.0}}));

TEST_F(DuplicateFinderTest, SeveralThreadsFindWhatOneFinds) {
    // Many size groups, so that threads take them out of order, each holding copies, a
    // second name of one copy, decoys that differ in their first 64 KiB or only after it,
    // and a copy inside a bundle; modification times out of scan order.
    for (int i = 0; i < 60; ++i) {
        const auto seed = static_cast<std::uint32_t>(i);
        std::string contents = pattern(70'000 + static_cast<std::size_t>(i) * 1'000, seed);
        FileNode* copy = add("copy a" + std::to_string(i), contents, 100 - i % 7);
        add("copy b" + std::to_string(i), contents, 50 + i % 5);
        if (i % 3 == 0) {
            link(copy, "link" + std::to_string(i));
            add("copy c" + std::to_string(i), contents, 50 + i % 5);
        }
        contents[i % 2 == 0 ? 10 : 69'000] ^= 1;
        add("decoy a" + std::to_string(i), contents);
        add("decoy b" + std::to_string(i), contents);
    }
    FileNode* bundle = folder(root(), "Tool.app");
    add(bundle, "copy", pattern(70'000, 0));
    std::vector<double> reports;

    const std::vector<DuplicateGroup> one = search(0, {}, 1);
    const std::vector<DuplicateGroup> four = search(
        0, [&](double fraction) { reports.push_back(fraction); }, 4);

    ASSERT_EQ(one.size(), 120u);
    ASSERT_EQ(four.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(four[i].id, one[i].id) << "group " << i;
        EXPECT_EQ(four[i].size, one[i].size) << "group " << i;
        EXPECT_EQ(four[i].files, one[i].files) << "group " << i;
    }
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), 1.0);
}

// What happens to two of four copies between the scan and the search. Two damaged alike must
// not match each other either: two folders would both read as empty, and two files cut to
// the same new length are no longer the files the scan measured.
struct DamageCase {
    std::string name{};
    std::function<bool(const std::string& path)> damage{};
    bool unprivileged = false;

    friend std::ostream& operator<<(std::ostream& out, const DamageCase& c) {
        return out << c.name;
    }
};

class DuplicateDamageTest : public DuplicateFinderTest,
                            public testing::WithParamInterface<DamageCase> {};

TEST_P(DuplicateDamageTest, FileThatCannotBeReadAsScannedJoinsNoGroup) {
    const std::string contents = pattern(300'000, 13);
    FileNode* a = add("a", contents);
    FileNode* b = add("b", contents);
    FileNode* c = add("c", contents);
    FileNode* d = add("d", contents);
    ASSERT_TRUE(GetParam().damage(path(c)));
    ASSERT_TRUE(GetParam().damage(path(d)));
    const auto onlyTheIntactPair = [&] {
        const std::vector<DuplicateGroup> groups = search();
        return groups.size() == 1 && groups[0].files == Files{a, b};
    };

    if (GetParam().unprivileged) {
        EXPECT_EQ(test::runUnprivileged([&] { return onlyTheIntactPair() ? 0 : 1; }), 0);
    } else {
        EXPECT_TRUE(onlyTheIntactPair());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DuplicateDamageTest,
    testing::Values(
        DamageCase{"missing",
                   [](const std::string& path) {
                       return unlink(path.c_str()) == 0;
                   }},
        DamageCase{"folder",
                   [](const std::string& path) {
                       return unlink(path.c_str()) == 0 && mkdir(path.c_str(), 0755) == 0;
                   }},
        DamageCase{"fifo",
                   [](const std::string& path) {
                       return unlink(path.c_str()) == 0 && mkfifo(path.c_str(), 0644) == 0;
                   }},
        DamageCase{"shorter",
                   [](const std::string& path) {
                       return truncate(path.c_str(), 299'999) == 0;
                   }},
        DamageCase{"longer",
                   [](const std::string& path) {
                       return static_cast<bool>(std::ofstream(path, std::ios::app) << 'x');
                   }},
        DamageCase{"unreadable",
                   [](const std::string& path) { return chmod(path.c_str(), 0) == 0; }, true}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

struct DigestCase {
    std::string contents{};
    std::optional<std::int64_t> limit{};
    std::string digest{};

    friend std::ostream& operator<<(std::ostream& out, const DigestCase& c) {
        return out << c.contents.size() << " bytes, limit " << c.limit.value_or(-1);
    }
};

class Sha256HexTest : public testing::TestWithParam<DigestCase> {};

TEST_P(Sha256HexTest, DigestsTheFirstBytesOrTheWholeFile) {
    FixtureTree fixture;
    const std::string path = fixture.file("f", GetParam().contents);
    EXPECT_EQ(DuplicateFinder::sha256Hex(path, GetParam().limit), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(
    KnownDigests, Sha256HexTest,
    testing::Values(
        DigestCase{"", {}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        DigestCase{"abc", {}, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        DigestCase{"abc", 2, "fb8e20fc2e4c3f248c60c39bd652f3c1347298bb977b8b4d5903b85055620603"},
        DigestCase{"abc", 1'000,
                   "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // Several reads: longer than the read buffer.
        DigestCase{std::string(3'145'728, 'a'),
                   {},
                   "6f850bc94ae6f7de14297c01616c36d712d22864497b28a63b81d776b035e656"},
        DigestCase{std::string(3'145'728, 'a'), 1'000'000,
                   "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}));

TEST(Sha256Hex, GivesNoneForWhatIsNotAReadableRegularFile) {
    FixtureTree fixture;
    const std::string folder = fixture.folder("folder");
    const std::string fifo = fixture.fifo("fifo");
    const std::string locked = fixture.file("locked", "secret");
    fixture.setMode("locked", 0);

    EXPECT_EQ(DuplicateFinder::sha256Hex(fixture.path("missing")), std::nullopt);
    EXPECT_EQ(DuplicateFinder::sha256Hex(folder), std::nullopt);
    EXPECT_EQ(DuplicateFinder::sha256Hex(fifo, 10), std::nullopt);
    EXPECT_EQ(test::runUnprivileged([&] { return DuplicateFinder::sha256Hex(locked) ? 1 : 0; }), 0);
}

} // namespace
} // namespace dorvale
