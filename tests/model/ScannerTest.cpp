#include "model/Scanner.hpp"

#include "platform/Descriptor.hpp"
#include "support/FileChecks.hpp"
#include "support/FixtureTree.hpp"
#include "support/SteppingClock.hpp"
#include "support/TreeChecks.hpp"
#include "support/Unprivileged.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::allocated;
using test::child;
using test::FixtureTree;
using test::SteppingClock;

constexpr std::int64_t kib = 1024;
constexpr std::int64_t mib = 1024 * kib;

std::optional<ScanResult> scanFixture(const FixtureTree& fixture,
                                      const Scanner::Exclusions& exclusions = {}) {
    Scanner scanner(Locations::inside(fixture.root()));
    return scanner.scan(fixture.root(), exclusions);
}

TEST(Scanner, FoldsSmallFilesAndSumsFoldersBottomUp) {
    FixtureTree fixture;
    for (const char* name : {"a/x1", "a/x2", "a/x3"}) {
        fixture.allocatedFile(name, 4 * kib);
    }
    const std::string big = fixture.allocatedFile("a/b/big.mov", mib);
    const std::int64_t notes = allocated(fixture.file("notes.txt", "hello"));
    fixture.setTimes("a/b/big.mov", 1'600'000'000.75, 1'500'000'000.25);

    const auto result = scanFixture(fixture);
    ASSERT_TRUE(result.has_value());
    const FileNode* root = result->root;
    const FileNode* a = child(root, "a");
    const FileNode* b = child(a, "b");
    const FileNode* movie = child(b, "big.mov");
    ASSERT_TRUE(a != nullptr && b != nullptr && movie != nullptr);

    EXPECT_EQ(a->smallFilesCount(), 3);
    EXPECT_EQ(a->smallFilesSize(), 12'288);
    EXPECT_EQ(a->fileCount(), 4);
    EXPECT_EQ(a->children().size(), 1u);
    EXPECT_EQ(a->size(), allocated(fixture.path("a")) + 12'288 + b->size());
    EXPECT_EQ(b->size(), allocated(fixture.path("a/b")) + mib);
    EXPECT_EQ(root->size(), allocated(fixture.root()) + notes + a->size());
    EXPECT_EQ(root->logicalSize(), 3 * 4 * kib + mib + 5);
    EXPECT_EQ(root->fileCount(), 5);
    EXPECT_EQ(root->smallFilesCount(), 1);

    EXPECT_EQ(movie->path(), big);
    EXPECT_EQ(movie->kind(), FileKind::Video);
    EXPECT_EQ(movie->bucket(), StorageBucket::Video);
    EXPECT_EQ(movie->modified(), 1'600'000'000);
    EXPECT_EQ(movie->accessed(), 1'500'000'000);
    EXPECT_EQ(movie->parent(), b);

    EXPECT_EQ(result->rootPath, fixture.root());
    EXPECT_EQ(root->name(), fixture.root());
    EXPECT_EQ(result->files, (std::vector<const FileNode*>{movie}));
    EXPECT_EQ(result->totalFiles, 5);
    EXPECT_EQ(result->totalDirectories, 3);
    EXPECT_EQ(result->unreadableDirectories, 0);
    const std::int64_t folderBlocks =
        allocated(fixture.root()) + allocated(fixture.path("a")) + allocated(fixture.path("a/b"));
    EXPECT_EQ(result->bucketTotals, (std::map<StorageBucket, std::int64_t>{
                                        {StorageBucket::Documents, notes},
                                        {StorageBucket::Video, mib},
                                        {StorageBucket::Other, folderBlocks + 3 * 4 * kib}}));
    EXPECT_EQ(result->kindTotals,
              (std::map<FileKind, std::int64_t>{{FileKind::Document, notes},
                                                {FileKind::Video, mib},
                                                {FileKind::Other, 3 * 4 * kib}}));
    EXPECT_EQ(result->kindCounts,
              (std::map<FileKind, std::int64_t>{
                  {FileKind::Document, 1}, {FileKind::Video, 1}, {FileKind::Other, 3}}));
    EXPECT_GE(result->duration, 0);
}

// Allocation alone decides whether a file gets a node; ext4 allocates whole 4 KiB blocks,
// so 1,016 sectors is the largest allocation below the 1,024-sector threshold.
TEST(Scanner, NodeThresholdIsTheAllocatedSize) {
    FixtureTree fixture;
    fixture.allocatedFile("exact", 1024 * 512);
    const std::string below = fixture.allocatedFile("below", 1016 * 512);
    ASSERT_EQ(truncate(below.c_str(), 2 * mib), 0);
    fixture.sparseFile("sparse", 10 * mib);
    {
        const Descriptor reserved(open(fixture.file("reserved").c_str(), O_WRONLY | O_CLOEXEC));
        ASSERT_TRUE(reserved.valid());
        ASSERT_EQ(fallocate(reserved.get(), FALLOC_FL_KEEP_SIZE, 0, 1024 * 512), 0);
    }

    struct Case {
        const char* name;
        std::int64_t sectors;
        bool hasNode;
    };
    const Case cases[] = {{"exact", 1024, true},
                          {"below", 1016, false},
                          {"sparse", 0, false},
                          {"reserved", 1024, true}};
    const auto result = scanFixture(fixture);
    ASSERT_TRUE(result.has_value());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(allocated(fixture.path(c.name)), c.sectors * 512);
        const FileNode* node = child(result->root, c.name);
        EXPECT_EQ(node != nullptr, c.hasNode);
        if (node != nullptr) {
            EXPECT_EQ(node->size(), c.sectors * 512);
        }
    }
    EXPECT_EQ(result->root->smallFilesCount(), 2);
    EXPECT_EQ(result->root->smallFilesSize(), 1016 * 512);
    EXPECT_EQ(result->root->logicalSize(), 1024 * 512 + 2 * mib + 10 * mib);
    EXPECT_EQ(result->totalFiles, 4);
}

TEST(Scanner, CountsAHardLinkedFileOnce) {
    FixtureTree fixture;
    fixture.allocatedFile("one/movie.mov", mib);
    fixture.hardLink("one/movie.mov", "two/movie.mov");
    // Scanned alone, "inside" holds only one link of this file.
    fixture.allocatedFile("inside/single.mov", mib);
    fixture.hardLink("inside/single.mov", "outside.mov");

    Scanner scanner(Locations::inside(fixture.root()));
    const auto result = scanner.scan(fixture.root());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->totalFiles, 2);
    EXPECT_EQ(result->hardLinksSkipped, 2);
    EXPECT_EQ(result->files.size(), 2u);
    const std::int64_t folders = allocated(fixture.root()) + allocated(fixture.path("one")) +
                                 allocated(fixture.path("two")) + allocated(fixture.path("inside"));
    EXPECT_EQ(result->root->size(), folders + 2 * mib);

    const auto inside = scanner.scan(fixture.path("inside"));
    ASSERT_TRUE(inside.has_value());
    EXPECT_EQ(inside->totalFiles, 1);
    EXPECT_EQ(inside->hardLinksSkipped, 0);
}

// The walk starts at the data volume, while exclusions and bucket rules see the paths as
// they are seen from "/".
TEST(Scanner, MatchesPathsBelowTheDataVolume) {
    FixtureTree fixture;
    fixture.allocatedFile("Users/x/Movies/film.mov", mib);
    fixture.allocatedFile("Users/x/Movies2/film.mov", mib);
    fixture.allocatedFile("Users/a/Library/Caches/com.example/blob", mib);
    fixture.folder("Users/a/Library/Preferences");
    fixture.allocatedFile("Users/a/Pictures/photo.jpg", mib);
    fixture.folder("Users/a/Library/Caches/Tool.app");

    const auto result = scanFixture(fixture, {"/Users/x/Movies", "/"});
    ASSERT_TRUE(result.has_value());
    const FileNode* x = child(child(result->root, "Users"), "x");
    EXPECT_EQ(child(x, "Movies"), nullptr);
    EXPECT_NE(child(x, "Movies2"), nullptr);
    EXPECT_EQ(result->totalFiles, 3);
    EXPECT_EQ(result->totalDirectories, 11);

    const FileNode* a = child(child(result->root, "Users"), "a");
    const FileNode* library = child(a, "Library");
    const FileNode* caches = child(library, "Caches");
    const FileNode* example = child(caches, "com.example");
    ASSERT_TRUE(example != nullptr);
    EXPECT_EQ(result->root->bucket(), StorageBucket::Other);
    EXPECT_EQ(library->bucket(), StorageBucket::AppData);
    EXPECT_EQ(child(library, "Preferences")->bucket(), StorageBucket::AppData);
    EXPECT_EQ(caches->bucket(), StorageBucket::Junk);
    EXPECT_EQ(example->bucket(), StorageBucket::Junk);
    EXPECT_EQ(child(example, "blob")->bucket(), StorageBucket::Junk);
    const FileNode* tool = child(caches, "Tool.app");
    EXPECT_EQ(tool->bucket(), StorageBucket::Applications);
    EXPECT_EQ(tool->kind(), FileKind::Application);
    EXPECT_TRUE(tool->isPackage());
    EXPECT_EQ(child(child(a, "Pictures"), "photo.jpg")->bucket(), StorageBucket::Images);
}

// A walk that starts above the data volume classifies the folders inside it the same way.
TEST(Scanner, MatchesPathsInsideADataVolumeBelowTheRoot) {
    FixtureTree fixture;
    fixture.folder("Volume/Users/a/Library/Caches/com.example");
    fixture.folder("Users/a/Library/Caches");
    Locations locations = Locations::inside(fixture.root());
    locations.dataVolume = fixture.path("Volume");
    Scanner scanner(locations);
    const auto result = scanner.scan(fixture.root(), {"/Users/a/Library/Caches/com.example"});
    ASSERT_TRUE(result.has_value());

    const auto library = [&](const FileNode* top) {
        return child(child(child(top, "Users"), "a"), "Library");
    };
    const FileNode* caches = child(library(child(result->root, "Volume")), "Caches");
    ASSERT_NE(caches, nullptr);
    EXPECT_EQ(caches->bucket(), StorageBucket::Junk);
    EXPECT_TRUE(caches->children().empty());
    // Outside the data volume the same names mean nothing.
    EXPECT_EQ(library(result->root)->bucket(), StorageBucket::Other);
}

TEST(Scanner, ReportsProgressAtMostEveryIntervalOnWholeThousands) {
    FixtureTree fixture;
    for (int i = 0; i < 1030; ++i) {
        fixture.file("d/f" + std::to_string(i), "x");
    }
    fixture.folder("e1");
    fixture.folder("e2");

    const auto reportsWith = [&](double step) {
        const SteppingClock clock(step);
        Scanner scanner(Locations::inside(fixture.root()), clock);
        std::vector<ScanProgressSnapshot> reports;
        const auto result = scanner.scan(
            fixture.root(), {}, [&](const auto& snapshot) { reports.push_back(snapshot); });
        EXPECT_TRUE(result.has_value());
        return reports;
    };
    const auto everyRead = reportsWith(1.0);
    const auto throttled = reportsWith(0.05);

    ASSERT_FALSE(everyRead.empty());
    bool sawThousand = false;
    for (const ScanProgressSnapshot& report : everyRead) {
        EXPECT_EQ(report.files % 1024, 0);
        if (report.files == 1024) {
            sawThousand = true;
            EXPECT_EQ(report.bytes, 1024 * allocated(fixture.path("d/f0")));
            EXPECT_TRUE(report.currentPath.starts_with("/d/f")) << report.currentPath;
        }
    }
    EXPECT_TRUE(sawThousand);
    EXPECT_EQ(everyRead.front().currentPath, "/");
    // At 0.05 s per read only every second read is more than 0.08 s after the last report.
    EXPECT_EQ(throttled.size(), everyRead.size() / 2);
}

TEST(Scanner, CancelStopsAtTheNextFolderAndStays) {
    FixtureTree fixture;
    fixture.file("sub/file", "x");
    const SteppingClock clock(1.0);
    Scanner scanner(Locations::inside(fixture.root()), clock);

    int reports = 0;
    const auto cancelled = scanner.scan(fixture.root(), {}, [&](const ScanProgressSnapshot&) {
        ++reports;
        scanner.cancel();
    });
    EXPECT_FALSE(cancelled.has_value());
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(scanner.scan(fixture.root()).has_value());
    EXPECT_TRUE(scanFixture(fixture).has_value());
}

TEST(Scanner, RootThatIsNoFolderGivesNothing) {
    FixtureTree fixture;
    const std::string file = fixture.allocatedFile("file.bin", 8 * kib);
    const std::string link = fixture.symlink(fixture.folder("folder"), "link");
    const std::string roots[] = {file, link, fixture.path("missing"), "",
                                 fixture.path("folder") + std::string(1, '\0') + "x"};
    Scanner scanner(Locations::inside(fixture.root()));
    for (const std::string& root : roots) {
        SCOPED_TRACE(root);
        EXPECT_FALSE(scanner.scan(root).has_value());
    }

    // The root keeps the path exactly as given, trailing slash included.
    const std::string slashed = fixture.path("folder") + "/";
    fixture.allocatedFile("folder/big", mib);
    const auto result = scanner.scan(slashed);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->root->name(), slashed);
    EXPECT_EQ(result->files.at(0)->path(), fixture.path("folder/big"));
}

TEST(Scanner, KeepsNamesAsRawBytes) {
    FixtureTree fixture;
    const std::string odd = "bad\xff\xfe name.mov";
    const std::string broken = "line\nbreak";
    fixture.allocatedFile(broken + "/" + odd, mib);
    const auto result = scanFixture(fixture);
    ASSERT_TRUE(result.has_value());
    const FileNode* movie = child(child(result->root, broken), odd);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->path(), fixture.path(broken + "/" + odd));
    EXPECT_EQ(movie->kind(), FileKind::Video);
}

TEST(Scanner, GivesEachFileTheKindOfItsName) {
    struct Case {
        const char* name;
        FileKind kind;
    };
    const Case cases[] = {
        {"a.MOV", FileKind::Video},
        {"b.mov", FileKind::Video},
        {"c.jpg", FileKind::Image},
        {"d.tar.gz", FileKind::Archive},
        {"e.sparseimage", FileKind::DiskImage},
        {".hidden", FileKind::Other},
        {"README", FileKind::Other},
        {"f.", FileKind::Other},
        {"g.\xc3\x9cx", FileKind::Other},
        {"h.exs", FileKind::Code},
        {"i.JPEG", FileKind::Image},
        {"clip.mov.txt", FileKind::Document},
    };
    FixtureTree fixture;
    for (const Case& c : cases) {
        fixture.allocatedFile(c.name, mib);
    }
    const auto result = scanFixture(fixture);
    ASSERT_TRUE(result.has_value());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileNode* node = child(result->root, c.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->kind(), c.kind);
    }
}

// A chain of nested folders built through descriptors, since its paths may be longer than
// the system takes. Each folder of the chain also holds an empty side folder,
// which the walk may list after the chain: coming back up, it then still has a folder to
// open there. The innermost folder holds a 4 KiB and a 1 MiB file. The chain notes what it
// allocated, as du and find count it.
class FolderChain {
public:
    FolderChain(const std::string& top, const std::string& component, int depth) {
        std::string path = top;
        Descriptor folder(open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        for (int level = 0; folder.valid(); ++level) {
            const int fd = folder.get();
            addFolder(fd, "side" + std::to_string(level));
            Descriptor next;
            if (level == depth) {
                m_bigFile = path + "/big.mov";
                addFile(fd, "big.mov", mib);
                addFile(fd, "small", 4 * kib);
            } else if (mkdirat(fd, component.c_str(), 0755) == 0) {
                next =
                    Descriptor(openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                path += "/" + component;
            }
            addBlocks(fd);
            ++folders;
            folder = std::move(next);
        }
    }

    /// The path of the 1 MiB file at the bottom.
    [[nodiscard]] const std::string& bigFile() const { return m_bigFile; }

    std::int64_t bytes = 0;
    std::int64_t folders = 0;
    std::int64_t files = 0;

private:
    void addBlocks(int fd) {
        struct stat info {};
        fstat(fd, &info);
        bytes += static_cast<std::int64_t>(info.st_blocks) * 512;
    }

    void addFolder(int parent, const std::string& name) {
        if (mkdirat(parent, name.c_str(), 0755) == 0) {
            const Descriptor fd(openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            addBlocks(fd.get());
            ++folders;
        }
    }

    void addFile(int folder, const char* name, std::int64_t size) {
        const Descriptor fd(openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (fd.valid() && posix_fallocate(fd.get(), 0, size) == 0) {
            addBlocks(fd.get());
            ++files;
        }
    }

    std::string m_bigFile;
};

// The number a shell command prints first, such as the size `du` gives.
std::int64_t numberFrom(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    long long number = -1;
    if (std::fscanf(pipe, "%lld", &number) != 1) {
        number = -1;
    }
    pclose(pipe);
    return number;
}

// Whether a scan and a measurement of the chain's top folder found exactly what it holds.
bool foundExactly(const FolderChain& chain, const std::optional<ScanResult>& result,
                  const DirectorySize& measured) {
    return result && result->root->size() == chain.bytes && result->totalFiles == chain.files &&
           result->totalDirectories == chain.folders && result->unreadableDirectories == 0 &&
           result->files.size() == 1 && result->files[0]->path() == chain.bigFile() &&
           measured.bytes == chain.bytes && measured.count == chain.files;
}

TEST(Scanner, CountsATreeDeeperThanThePathLimitExactly) {
    FixtureTree fixture;
    const std::string top = fixture.folder("deep");
    const FolderChain chain(top, std::string(200, 'd'), 25);
    ASSERT_GT(chain.bigFile().size(), std::size_t{PATH_MAX});
    ASSERT_EQ(chain.folders, 52);
    ASSERT_EQ(chain.files, 2);
    const std::string quoted = "'" + top + "'";
    EXPECT_EQ(numberFrom("du -s -B1 " + quoted), chain.bytes);
    EXPECT_EQ(numberFrom("find " + quoted + " -type d -printf x | wc -c"), chain.folders);
    EXPECT_EQ(numberFrom("find " + quoted + " ! -type d -printf x | wc -c"), chain.files);

    Scanner scanner(Locations::inside(top));
    EXPECT_TRUE(foundExactly(chain, scanner.scan(top), Scanner::directorySize(top)));
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Deeper than the walk keeps folders open, and, in a child, deeper than the descriptors the
// process may hold: the outer folders give theirs up and are taken back on the way up.
TEST(Scanner, WalksATreeDeeperThanTheDescriptorLimit) {
    FixtureTree fixture;
    const std::string top = fixture.folder("deep");
    const FolderChain chain(top, "d", 150);
    ASSERT_EQ(chain.folders, 302);

    // No file is counted on the way down, so every folder entered is reported.
    const SteppingClock clock(1.0);
    Scanner scanner(Locations::inside(top), clock);
    const std::size_t before = openDescriptors();
    std::size_t mostOpen = before;
    const auto result = scanner.scan(top, {}, [&](const ScanProgressSnapshot&) {
        mostOpen = std::max(mostOpen, openDescriptors());
    });
    EXPECT_TRUE(foundExactly(chain, result, Scanner::directorySize(top)));
    // The walk keeps at most 64 folders open.
    EXPECT_LE(mostOpen - before, 64u);

    const int status = test::runUnprivileged([&] {
        // A few descriptors beyond those the process already holds.
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = openDescriptors() + 8;
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) {
            return 1;
        }
        Scanner limited(Locations::inside(top));
        return foundExactly(chain, limited.scan(top), Scanner::directorySize(top)) ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
}

// The progress report after the root was listed swaps its sub-folder for a link to a folder
// outside; the walk must not go through the link.
TEST(Scanner, DoesNotFollowAFolderReplacedByALinkAfterItWasListed) {
    FixtureTree fixture;
    fixture.allocatedFile("tree/inner/own.mov", mib);
    fixture.allocatedFile("outside/big.mov", mib);
    const std::string tree = fixture.path("tree");
    const SteppingClock clock(1.0);
    Scanner scanner(Locations::inside(tree), clock);

    bool swapped = false;
    const auto result = scanner.scan(tree, {}, [&](const ScanProgressSnapshot&) {
        if (!swapped) {
            swapped =
                rename(fixture.path("tree/inner").c_str(), fixture.path("moved").c_str()) == 0 &&
                symlink("../outside", fixture.path("tree/inner").c_str()) == 0;
        }
    });
    ASSERT_TRUE(swapped);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->totalDirectories, 1);
    EXPECT_EQ(result->unreadableDirectories, 0);
    EXPECT_EQ(result->totalFiles, 1);
    EXPECT_TRUE(result->files.empty());
    EXPECT_TRUE(result->root->children().empty());
    EXPECT_EQ(result->root->size(),
              allocated(fixture.path("tree")) + allocated(fixture.path("tree/inner")));
}

bool writeText(const char* path, const std::string& text) {
    const Descriptor fd(open(path, O_WRONLY | O_CLOEXEC));
    return fd.valid() && writeAll(fd.get(), text) == 0;
}

// Moves the calling process into new user and mount namespaces in which it is root, so that
// it may mount file systems that only it sees. A process that changed its user is not
// dumpable, which would leave its namespace maps to root; it is made dumpable again first.
bool enterOwnMountNamespace() {
    prctl(PR_SET_DUMPABLE, 1);
    const std::string uid = std::to_string(getuid());
    const std::string gid = std::to_string(getgid());
    return unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 && writeText("/proc/self/setgroups", "deny") &&
           writeText("/proc/self/uid_map", "0 " + uid + " 1") &&
           writeText("/proc/self/gid_map", "0 " + gid + " 1");
}

TEST(Scanner, DoesNotEnterAnotherFileSystem) {
    constexpr int noNamespaces = 77;
    FixtureTree fixture;
    const std::string mountPoint = fixture.folder("mounted");
    const int status = test::runUnprivileged([&] {
        if (!enterOwnMountNamespace() ||
            mount("scratch", mountPoint.c_str(), "tmpfs", 0, nullptr) != 0) {
            return noNamespaces;
        }
        const std::string inside = mountPoint + "/inside.mov";
        const Descriptor fd(open(inside.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        if (!fd.valid() || posix_fallocate(fd.get(), 0, mib) != 0 ||
            mkdir((mountPoint + "/folder").c_str(), 0755) != 0) {
            return 1;
        }
        Scanner scanner(Locations::inside(fixture.root()));
        const auto result = scanner.scan(fixture.root());
        const FileNode* mounted = result ? child(result->root, "mounted") : nullptr;
        if (mounted == nullptr || !mounted->children().empty() || mounted->fileCount() != 0 ||
            result->totalFiles != 0 || result->totalDirectories != 2 ||
            mounted->size() != allocated(mountPoint)) {
            return 2;
        }
        if (Scanner::directorySize(fixture.root()).count != 0) {
            return 3;
        }
        // Walked from its own root, the other file system is counted.
        const auto own = scanner.scan(mountPoint);
        return own && own->totalFiles == 1 && own->totalDirectories == 2 ? 0 : 4;
    });
    if (status == noNamespaces) {
        GTEST_SKIP() << "this system lets no process mount in its own namespace";
    }
    EXPECT_EQ(status, 0);
}

// Runs as uid 65534 so that permission bits apply even when the suite runs as root.
TEST(Scanner, UnreadableFoldersStayInTheTreeFlagged) {
    FixtureTree fixture;
    fixture.allocatedFile("locked/secret.mov", mib);
    fixture.allocatedFile("listOnly/hidden.mov", mib);
    fixture.allocatedFile("open/visible.mov", mib);
    fixture.setMode("locked", 0000);
    fixture.setMode("listOnly", 0444);
    const std::int64_t lockedBlocks = allocated(fixture.path("locked"));

    const int status = test::runUnprivileged([&]() -> int {
        Scanner scanner(Locations::inside(fixture.root()));
        const auto result = scanner.scan(fixture.root());
        if (!result) {
            return 1;
        }
        const FileNode* locked = child(result->root, "locked");
        if (locked == nullptr || !locked->unreadable() || !locked->isDirectory() ||
            locked->size() != lockedBlocks || !locked->children().empty()) {
            return 2;
        }
        // The locked folder, and the one entry of listOnly that cannot be examined.
        if (result->unreadableDirectories != 2 || result->totalDirectories != 4 ||
            result->totalFiles != 1 || child(result->root, "listOnly")->unreadable()) {
            return 3;
        }
        const auto lockedRoot = scanner.scan(fixture.path("locked"));
        if (!lockedRoot || !lockedRoot->root->unreadable() ||
            lockedRoot->unreadableDirectories != 1 || lockedRoot->totalDirectories != 1 ||
            lockedRoot->root->size() != lockedBlocks) {
            return 4;
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
}

TEST(ScannerDirectorySize, CountsEachFileOnceAndEveryFolderBlock) {
    FixtureTree fixture;
    fixture.allocatedFile("small", 4 * kib);
    fixture.allocatedFile("sub/big", mib);
    fixture.hardLink("sub/big", "sub/again");
    fixture.symlink("nowhere", "sub/dangling");
    const std::int64_t expected = allocated(fixture.root()) + allocated(fixture.path("sub")) +
                                  4 * kib + mib + allocated(fixture.path("sub/dangling"));

    const DirectorySize folder = Scanner::directorySize(fixture.root());
    EXPECT_EQ(folder.bytes, expected);
    EXPECT_EQ(folder.count, 3);

    const DirectorySize file = Scanner::directorySize(fixture.path("sub/big"));
    EXPECT_EQ(file.bytes, mib);
    EXPECT_EQ(file.count, 1);

    const DirectorySize missing = Scanner::directorySize(fixture.path("missing"));
    EXPECT_EQ(missing.bytes, 0);
    EXPECT_EQ(missing.count, 0);
}

} // namespace
} // namespace dorvale
