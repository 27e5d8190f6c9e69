// Times the overview's recommendation cards and the developer-artefact walk on a generated
// home-folder tree of about a million nodes, without touching the disk. The tree is built
// twice: once with dependency folders large enough to be reported (the walk skips their
// insides) and once with every one below the threshold, so that the walk enters every
// folder.
//
// Usage: dorvale_recommendations_bench [RUNS]

#include "GeneratedHome.hpp"
#include "inventory/DeveloperArtefacts.hpp"
#include "inventory/Recommendations.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace dorvale;
using Clock = std::chrono::steady_clock;

void measure(const char* label, std::int64_t packageFileSize, int runs,
             const std::vector<JunkFinding>& junk, const Locations& locations) {
    std::int64_t nodes = 0;
    const auto start = Clock::now();
    const std::shared_ptr<const ScanResult> scan =
        bench::generateHome("/home/u", packageFileSize, nodes);
    const double built = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%s: %lld nodes (%zu files), generated in %.2f s\n", label,
                static_cast<long long>(nodes), scan->files.size(), built);
    bench::printTimes("buildRecommendations", runs, [&] {
        return buildRecommendations(scan, junk, locations, bench::generatedNow).size();
    });
    bench::printTimes("findDeveloperArtefacts", runs,
                      [&] { return findDeveloperArtefacts(scan.get(), junk, locations).size(); });
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    Locations locations;
    locations.home = "/home/u";
    const std::vector<JunkFinding> junk = bench::generateJunk();
    // 2 × 50 files of 1 MB make a 100 MB dependency folder; of 190 KB, one of 19 MB.
    measure("dependency folders reported", 1'000'000, runs, junk, locations);
    measure("every folder entered", 190'000, runs, junk, locations);
    return 0;
}
