// Times the deletion history at its largest: loading a file of 5,000 entries, and recording one
// more entry into it, both when the file is as this store last wrote it and when another
// process wrote it since (the file is then read again and merged). Prints the median and the
// slowest of 21 rounds of each, and the median processor time, in milliseconds. The paths are as
// long as those of a real home.
//
// Usage: dorvale_history_bench [folder]   (default: a new folder in $TMPDIR or /tmp; the
// figures depend on the file system, which syncs every write)

#include "model/DeletionHistory.hpp"
#include "platform/FileOperations.hpp"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dorvale;

constexpr int rounds = 21;

HistoryEntry entry(int number) {
    const std::string name = "/home/someone/Projects/client-site/node_modules/.cache/build-" +
                             std::to_string(number) + "/bundle.js.map";
    return HistoryEntry{.id = Uuid::random(),
                        .date = 1'700'000'000.0 + number,
                        .originalPath = name,
                        .trashPath = "/home/someone/.local/share/Trash/files/bundle.js." +
                                     std::to_string(number) + ".map",
                        .size = 4096 + number};
}

struct Timing {
    double median = 0;
    double slowest = 0;
    double cpuMedian = 0;
};

// The processor time of this thread: on a busy machine the wall clock also counts the waits
// for a processor.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// `prepare` runs before each round and is not timed.
Timing time(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> milliseconds;
    std::vector<double> cpu;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMilliseconds();
        work();
        cpu.push_back(cpuMilliseconds() - cpuStart);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::sort(cpu.begin(), cpu.end());
    return {milliseconds[rounds / 2], milliseconds.back(), cpu[rounds / 2]};
}

void print(const char* what, Timing timing) {
    std::printf("%-36s median=%.2f ms slowest=%.2f ms cpu_median=%.2f ms\n", what, timing.median,
                timing.slowest, timing.cpuMedian);
}

std::string newFolder(int argc, char** argv) {
    if (argc > 1) {
        return argv[1];
    }
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temporary != nullptr ? temporary : "/tmp") + "/history-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = newFolder(argc, argv);
    if (folder.empty() || !createFolderChain(folder).ok()) {
        std::fprintf(stderr, "dorvale_history_bench: no folder to work in\n");
        return 1;
    }
    const std::string file = folder + "/history.json";
    std::vector<HistoryEntry> entries;
    for (int i = 0; i < static_cast<int>(DeletionHistory::maximumEntries); ++i) {
        entries.push_back(entry(i));
    }
    DeletionHistory(file).record(entries);
    const Result<std::string> written = readFile(file);
    std::printf("entries=%zu file_bytes=%zu\n", DeletionHistory::maximumEntries,
                written.ok() ? written.value().size() : 0);

    print("load", time([] {}, [&] { (void)DeletionHistory(file).entries().size(); }));
    DeletionHistory store(file);
    int next = 100'000;
    print("record one, file as last written", time([] {}, [&] { store.record({entry(++next)}); }));
    DeletionHistory other(file);
    print("record one, file written by another",
          time([&] { other.record({entry(++next)}); }, [&] { store.record({entry(++next)}); }));
    std::remove(file.c_str());
    return 0;
}
