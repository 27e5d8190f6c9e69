// Times the overview's recommendation cards and the developer-artefact walk on a generated
// home-folder tree of about a million nodes, without touching the disk. The tree holds
// projects with sources and dependency folders, a Library, old and new large videos and a
// Downloads folder, so every card's pass has work to do. It is built twice: once with
// dependency folders large enough to be reported (the walk skips their insides) and once
// with every one below the threshold, so that the walk enters every folder.
//
// Usage: dorvale_recommendations_bench [RUNS]

#include "GeneratedTree.hpp"
#include "inventory/DeveloperArtefacts.hpp"
#include "inventory/Recommendations.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dorvale;
using Clock = std::chrono::steady_clock;

constexpr Timestamp now = 1'700'000'000;
constexpr int projects = 5'000;
constexpr int sourceFiles = 40;
constexpr int packages = 50;
constexpr int videos = 22'000;
constexpr int downloads = 11'000;
constexpr int libraryFolders = 1'000;

void addProjects(GeneratedTree& tree, std::int64_t packageFileSize) {
    tree.open("code");
    for (int p = 0; p < projects; ++p) {
        tree.open("project-" + std::to_string(p));
        tree.open("src");
        for (int f = 0; f < sourceFiles; ++f) {
            tree.file("module-" + std::to_string(f) + ".ts", 600'000, now - 10 * secondsPerDay);
        }
        tree.close();
        tree.open("node_modules");
        for (int k = 0; k < packages; ++k) {
            tree.open("package-" + std::to_string(k));
            tree.file("index.js", packageFileSize, now - 5 * secondsPerDay);
            tree.file("bundle.js", packageFileSize, now - 5 * secondsPerDay);
            tree.close();
        }
        tree.close();
        tree.close();
    }
    tree.close();
}

void addMedia(GeneratedTree& tree) {
    tree.open("Movies");
    for (int v = 0; v < videos; ++v) {
        const Timestamp modified =
            v % 2 == 0 ? now - 200 * secondsPerDay : now - 20 * secondsPerDay;
        tree.file("clip-" + std::to_string(v) + ".mov", 600'000'000, modified);
    }
    tree.close();
    tree.open("Downloads");
    for (int d = 0; d < downloads; ++d) {
        tree.file("download-" + std::to_string(d) + ".zip", 1'000'000, now - 3 * secondsPerDay);
    }
    tree.close();
    tree.open("Library");
    tree.open("Caches");
    for (int l = 0; l < libraryFolders; ++l) {
        tree.open("com.example.app" + std::to_string(l));
        tree.file("cache.db", 800'000'000, now - 400 * secondsPerDay);
        tree.close();
    }
    tree.close();
    tree.close();
}

std::shared_ptr<const ScanResult> makeTree(std::int64_t packageFileSize, std::int64_t& nodes) {
    GeneratedTree tree{"/home/u", now};
    addProjects(tree, packageFileSize);
    addMedia(tree);
    nodes = tree.nodes();
    return tree.finish();
}

std::vector<JunkFinding> makeJunk() {
    std::vector<JunkFinding> junk;
    for (const JunkRule& rule : JunkRule::all()) {
        JunkFinding finding{.rule = rule};
        for (int i = 0; i < 20; ++i) {
            finding.items.push_back(JunkItem{.id = "/junk/" + rule.id + "/" + std::to_string(i),
                                             .ruleID = rule.id,
                                             .size = 30'000'000,
                                             .fileCount = 1});
        }
        junk.push_back(std::move(finding));
    }
    return junk;
}

template <typename Work>
void time(const char* what, int runs, Work work) {
    std::vector<double> milliseconds;
    std::size_t count = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        count = work();
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("  %-28s median %7.2f ms, min %7.2f ms, max %7.2f ms (%zu results)\n", what,
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back(),
                count);
}

void measure(const char* label, std::int64_t packageFileSize, int runs,
             const std::vector<JunkFinding>& junk, const Locations& locations) {
    std::int64_t nodes = 0;
    const auto start = Clock::now();
    const std::shared_ptr<const ScanResult> scan = makeTree(packageFileSize, nodes);
    const double built = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s: %lld nodes (%zu files), generated in %.2f s\n", label,
                static_cast<long long>(nodes), scan->files.size(), built);
    time("buildRecommendations", runs,
         [&] { return buildRecommendations(scan, junk, locations, now).size(); });
    time("findDeveloperArtefacts", runs,
         [&] { return findDeveloperArtefacts(scan.get(), junk, locations).size(); });
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    Locations locations;
    locations.home = "/home/u";
    const std::vector<JunkFinding> junk = makeJunk();
    // 2 × 50 files of 1 MB make a 100 MB dependency folder; of 190 KB, one of 19 MB.
    measure("dependency folders reported", 1'000'000, runs, junk, locations);
    measure("every folder entered", 190'000, runs, junk, locations);
    return 0;
}
