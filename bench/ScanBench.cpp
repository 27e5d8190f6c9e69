// Scans one folder and prints the speed and the memory of the scan: counted files per second,
// the peak resident set, the bytes the finished tree holds per node (node records, names and
// child lists together) and the root's allocated bytes. With --walk-only it runs the same walk
// with nothing but the sums of `directorySize` instead, as the floor the scanner's own
// bookkeeping is measured against.
//
// With --threads N the scan walks on N threads (default: as many as the scanner chooses for
// the folder). The processor time (user and system, all threads) is printed too.
//
// Usage: dorvale_scan_bench [--walk-only] [--threads N] <folder>

#include "model/Scanner.hpp"

#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace dorvale;

struct Figures {
    std::int64_t files = 0;
    std::int64_t folders = 0;
    std::int64_t bytes = 0;
    std::int64_t nodes = 0;
    std::int64_t treeBytes = 0;
};

std::int64_t countNodes(const FileNode& root) {
    std::int64_t count = 0;
    std::vector<const FileNode*> pending{&root};
    while (!pending.empty()) {
        const FileNode* node = pending.back();
        pending.pop_back();
        ++count;
        pending.insert(pending.end(), node->children().begin(), node->children().end());
    }
    return count;
}

bool scan(const std::string& folder, std::size_t threads, Figures& figures) {
    Scanner scanner(Locations{}, Clock::system(), threads);
    const std::optional<ScanResult> result = scanner.scan(folder);
    if (!result) {
        return false;
    }
    figures.files = result->totalFiles;
    figures.folders = result->totalDirectories;
    figures.bytes = result->root->size();
    figures.nodes = countNodes(*result->root);
    figures.treeBytes = static_cast<std::int64_t>(result->nodes->bytesReserved() +
                                                  result->files.capacity() * sizeof(FileNode*));
    return true;
}

// directorySize gives (0, 0) for a path it cannot walk, as for an empty folder without
// blocks of its own, so the folder is checked first.
bool walkOnly(const std::string& folder, Figures& figures) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    const DirectorySize size = Scanner::directorySize(folder);
    figures.files = size.count;
    figures.bytes = size.bytes;
    return true;
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    bool bare = false;
    std::size_t threads = 0;
    int at = 1;
    for (; at < argc - 1; ++at) {
        if (std::strcmp(argv[at], "--walk-only") == 0) {
            bare = true;
        } else if (std::strcmp(argv[at], "--threads") == 0 && at + 1 < argc - 1) {
            threads = static_cast<std::size_t>(std::strtoul(argv[++at], nullptr, 10));
        } else {
            break;
        }
    }
    if (at != argc - 1) {
        std::fprintf(stderr, "usage: dorvale_scan_bench [--walk-only] [--threads N] <folder>\n");
        return 2;
    }
    const std::string folder = argv[at];
    Figures figures;
    const auto start = std::chrono::steady_clock::now();
    if (!(bare ? walkOnly(folder, figures) : scan(folder, threads, figures))) {
        std::fprintf(stderr, "dorvale_scan_bench: %s could not be scanned\n", folder.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s files=%lld bytes=%lld seconds=%.3f cpu_seconds=%.3f files_per_second=%.0f "
                "rss_mib=%.1f",
                bare ? "walk" : "scan", static_cast<long long>(figures.files),
                static_cast<long long>(figures.bytes), seconds, processorSeconds(),
                static_cast<double>(figures.files) / seconds, peakMiB());
    if (!bare) {
        std::printf(" folders=%lld nodes=%lld bytes_per_node=%.1f",
                    static_cast<long long>(figures.folders), static_cast<long long>(figures.nodes),
                    static_cast<double>(figures.treeBytes) / static_cast<double>(figures.nodes));
    }
    std::printf("\n");
    return 0;
}
