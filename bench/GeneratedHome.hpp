#pragma once

// A generated home-folder tree of about a million nodes, built in memory without touching
// the disk, for the benchmarks of what the screens derive from a scan. The tree holds
// projects with sources and dependency folders, a Library, old and new large videos and a
// Downloads folder; every node carries the bucket and kind a scan would give it, and the
// result its totals, so each pass over it has work to do.

#include "model/JunkFinding.hpp"
#include "model/ScanResult.hpp"
#include "platform/Clock.hpp"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace dorvale::bench {

/// The time the tree's dates are relative to.
inline constexpr Timestamp generatedNow = 1'700'000'000;

/// The home folder at `root`. Its dependency folders hold 100 files of `packageFileSize`
/// bytes each. `nodes` receives the number of nodes made.
[[nodiscard]] std::shared_ptr<ScanResult>
generateHome(const std::string& root, std::int64_t packageFileSize, std::int64_t& nodes);

/// Twenty items of 30 MB for every rule of the junk catalogue.
[[nodiscard]] std::vector<JunkFinding> generateJunk();

/// The calling thread's processor time so far, in milliseconds: on a busy machine a run's
/// wall time includes waiting to be scheduled, its processor time does not.
inline double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

/// Runs `work` `runs` times and prints the median, least and greatest time it took and the
/// median processor time of the calling thread, with the count of results the last run
/// returned.
template <typename Work>
void printTimes(const char* what, int runs, Work work) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> milliseconds;
    std::vector<double> processor;
    std::size_t count = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const double processorStart = threadMilliseconds();
        count = work();
        processor.push_back(threadMilliseconds() - processorStart);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::sort(processor.begin(), processor.end());
    std::printf("  %-32s median %7.2f ms, min %7.2f ms, max %7.2f ms, processor %7.2f ms "
                "(%zu results)\n",
                what, milliseconds[milliseconds.size() / 2], milliseconds.front(),
                milliseconds.back(), processor[processor.size() / 2], count);
}

} // namespace dorvale::bench
