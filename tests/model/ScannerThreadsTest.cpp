#include "model/Scanner.hpp"
#include "platform/WorkerThreads.hpp"
#include "support/FixtureTree.hpp"
#include "support/SteppingClock.hpp"
#include "support/Unprivileged.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>

namespace dorvale {
namespace {

using test::FixtureTree;

constexpr std::int64_t mib = 1024 * 1024;

// Every figure of every node, in pre-order, and the result's lists and totals: two results
// describe the same tree exactly when their descriptions are equal.
void describe(const FileNode& node, std::ostringstream& out) {
    out << node.name() << ' ' << node.isDirectory() << node.isPackage() << node.unreadable() << ' '
        << static_cast<int>(node.kind()) << ' ' << static_cast<int>(node.bucket()) << ' '
        << node.size() << ' ' << node.logicalSize() << ' ' << node.fileCount() << ' '
        << node.smallFilesSize() << ' ' << node.smallFilesCount() << ' ' << node.modified()
        << " {\n";
    for (const FileNode* child : node.children()) {
        describe(*child, out);
    }
    out << "}\n";
}

std::string describe(const std::optional<ScanResult>& result) {
    if (!result) {
        return "none";
    }
    std::ostringstream out;
    describe(*result->root, out);
    for (const FileNode* file : result->files) {
        out << file->path() << '\n';
    }
    out << result->totalFiles << ' ' << result->totalDirectories << ' '
        << result->unreadableDirectories << ' ' << result->hardLinksSkipped << '\n';
    for (const auto& [bucket, bytes] : result->bucketTotals) {
        out << static_cast<int>(bucket) << '=' << bytes << ' ';
    }
    for (const auto& [kind, bytes] : result->kindTotals) {
        out << static_cast<int>(kind) << '=' << bytes << '/' << result->kindCounts.at(kind) << ' ';
    }
    return out.str();
}

std::string scanWith(const FixtureTree& fixture, std::size_t threads,
                     const Scanner::Exclusions& exclusions = {}) {
    Scanner scanner(Locations::inside(fixture.root()), Clock::system(), threads);
    return describe(scanner.scan(fixture.root(), exclusions));
}

// Many folders of mixed content, with hard links whose names lie in folders that different
// threads walk, a deep chain, a wide folder, an excluded folder and an unreadable one.
void fill(FixtureTree& fixture) {
    for (int i = 0; i < 40; ++i) {
        const std::string folder = "spread" + std::to_string(i) + "/";
        fixture.allocatedFile(folder + "a/big.mov", mib);
        fixture.file(folder + "a/note.txt", "x");
        fixture.allocatedFile(folder + "b/c/deep.bin", 600 * 1024);
        fixture.file(folder + "b/small.txt", "hello");
    }
    for (int i = 0; i < 40; i += 3) {
        const std::string from = "spread" + std::to_string(i);
        const std::string to = "spread" + std::to_string(39 - i);
        fixture.hardLink(from + "/a/big.mov", to + "/b/linked.mov");
        fixture.hardLink(from + "/a/note.txt", to + "/a/linked.txt");
    }
    std::string chain = "chain";
    for (int i = 0; i < 200; ++i) {
        chain += "/d";
        fixture.file(chain + "/f", "x");
    }
    fixture.allocatedFile(chain + "/bottom.mov", mib);
    for (int i = 0; i < 50'000; ++i) {
        fixture.file("wide/f" + std::to_string(i), "");
    }
    fixture.allocatedFile("excluded/inside.mov", mib);
    fixture.allocatedFile("locked/secret.mov", mib);
    fixture.setMode("locked", 0000);
}

TEST(ScannerThreads, ManyThreadsGiveExactlyTheOneThreadResult) {
    FixtureTree fixture;
    fill(fixture);
    const Scanner::Exclusions exclusions{"/excluded"};
    const int status = test::runUnprivileged([&] {
        const std::string one = scanWith(fixture, 1, exclusions);
        if (one == "none" || one.find("secret") != std::string::npos) {
            return 1;
        }
        for (const std::size_t threads : {2u, 8u}) {
            for (int round = 0; round < 3; ++round) {
                if (scanWith(fixture, threads, exclusions) != one) {
                    return 2;
                }
            }
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
}

TEST(ScannerThreads, CancelStopsEveryThreadAndProgressNeverGoesBack) {
    FixtureTree fixture;
    fill(fixture);
    Scanner scanner(Locations::inside(fixture.root()), Clock::system(), 8);
    std::int64_t lastFiles = 0;
    std::int64_t lastBytes = 0;
    bool monotonic = true;
    int reports = 0;
    const auto full =
        Scanner(Locations::inside(fixture.root()), Clock::system(), 8)
            .scan(fixture.root(), {}, [&](const ScanProgressSnapshot& snapshot) {
                monotonic = monotonic && snapshot.files >= lastFiles && snapshot.bytes >= lastBytes;
                lastFiles = snapshot.files;
                lastBytes = snapshot.bytes;
                ++reports;
            });
    ASSERT_TRUE(full.has_value());
    EXPECT_TRUE(monotonic);
    EXPECT_LE(lastFiles, full->totalFiles);

    std::thread canceller([&] { scanner.cancel(); });
    canceller.join();
    EXPECT_FALSE(scanner.scan(fixture.root()).has_value());
}

TEST(ScannerThreads, CancelDuringTheWalkEndsItWithinEachThreadsFolder) {
    // Folders of exactly as many files as are counted between two readings of the clock, so
    // that each thread reports once per folder, at its last file; the clock moves on enough
    // at every reading for each of those to report.
    FixtureTree fixture;
    constexpr int folders = 16;
    for (int folder = 0; folder < folders; ++folder) {
        for (int file = 0; file < 1024; ++file) {
            fixture.file("f" + std::to_string(folder) + "/" + std::to_string(file), "");
        }
    }
    const test::SteppingClock clock(1.0);
    constexpr std::size_t threads = 8;
    Scanner scanner(Locations::inside(fixture.root()), clock, threads);
    std::atomic<int> reports = 0;

    const auto cancelled = scanner.scan(fixture.root(), {}, [&](const ScanProgressSnapshot&) {
        ++reports;
        scanner.cancel();
    });

    EXPECT_FALSE(cancelled.has_value());
    // The first report, then at most one from each thread finishing the folder it was in.
    EXPECT_GE(reports.load(), 1);
    EXPECT_LE(reports.load(), static_cast<int>(threads));
}

TEST(WorkerThreads, OneOnASpinningDiskElseTheCoresUpToEight) {
    FixtureTree fixture;
    EXPECT_EQ(workerThreadsFor(fixture.root(), [](const std::string&) { return true; }), 1u);
    const std::size_t cores =
        workerThreadsFor(fixture.root(), [](const std::string&) { return false; });
    EXPECT_GE(cores, 1u);
    EXPECT_LE(cores, 8u);
}

} // namespace
} // namespace dorvale
