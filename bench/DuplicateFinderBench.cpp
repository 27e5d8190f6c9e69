// Runs the duplicate finder on the files beneath a folder and prints the groups it finds, one
// path per line and a blank line after each group; a summary goes to the standard error.
//
// There is no scan here: the folder is walked with fts as the scanner walks it (physical,
// second and later hard links left out), and each regular file becomes a parentless node named
// by its full path, which stands for its identity, and a candidate with its length, allocated
// bytes and whole-second modification time, in walk order. That is the snapshot the finder is
// given after a scan, except that every file is offered, not only those of 512 KiB or more.
//
// With --threads N the files are read on N threads (default: as many as the finder chooses
// for the folder).
//
// Usage: dorvale_dupes_bench [--threads N] FOLDER [MINIMUM_SIZE]

#include "model/DuplicateFinder.hpp"
#include "model/FileNode.hpp"
#include "model/NodeArena.hpp"

#include <fts.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace dorvale;

struct Walk {
    NodeArena nodes;
    std::vector<DuplicateCandidate> candidates;
};

class FtsHandle {
public:
    explicit FtsHandle(FTS* fts)
        : m_fts(fts) {}
    ~FtsHandle() {
        if (m_fts != nullptr) {
            fts_close(m_fts);
        }
    }
    FtsHandle(const FtsHandle&) = delete;
    FtsHandle& operator=(const FtsHandle&) = delete;
    [[nodiscard]] FTS* get() const { return m_fts; }

private:
    FTS* m_fts;
};

void record(Walk& walk, const FTSENT& entry) {
    const struct stat& info = *entry.fts_statp;
    FileNode::Attributes attributes;
    attributes.size = static_cast<std::int64_t>(info.st_blocks) * 512;
    attributes.logicalSize = info.st_size;
    attributes.fileCount = 1;
    attributes.modified = static_cast<double>(info.st_mtim.tv_sec);
    FileNode* node = walk.nodes.make(entry.fts_path, nullptr, attributes);
    walk.candidates.push_back(DuplicateCandidate{.path = entry.fts_path,
                                                 .logicalSize = attributes.logicalSize,
                                                 .size = attributes.size,
                                                 .modified = attributes.modified,
                                                 .node = node});
}

bool walkFolder(std::string root, Walk& walk) {
    char* const paths[] = {root.data(), nullptr};
    const FtsHandle fts(fts_open(paths, FTS_PHYSICAL | FTS_NOCHDIR, nullptr));
    if (fts.get() == nullptr) {
        return false;
    }
    std::set<std::pair<dev_t, ino_t>> seenLinks;
    while (const FTSENT* entry = fts_read(fts.get())) {
        if (entry->fts_info != FTS_F) {
            continue;
        }
        const struct stat& info = *entry->fts_statp;
        if (info.st_nlink > 1 && !seenLinks.emplace(info.st_dev, info.st_ino).second) {
            continue;
        }
        record(walk, *entry);
    }
    return true;
}

// Bytes this process has read through read(2), as the kernel counts them.
long long bytesRead() {
    long long value = -1;
    if (FILE* io = std::fopen("/proc/self/io", "r")) {
        if (std::fscanf(io, "rchar: %lld", &value) != 1) {
            value = -1;
        }
        std::fclose(io);
    }
    return value;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    std::size_t threads = 0;
    int at = 1;
    if (argc > 2 && std::strcmp(argv[1], "--threads") == 0) {
        threads = static_cast<std::size_t>(std::strtoul(argv[2], nullptr, 10));
        at = 3;
    }
    if (argc - at < 1 || argc - at > 2) {
        std::fprintf(stderr, "usage: %s [--threads N] FOLDER [MINIMUM_SIZE]\n", argv[0]);
        return 2;
    }
    const char* folder = argv[at];
    const std::int64_t minimumSize = argc - at > 1 ? std::atoll(argv[at + 1]) : 0;

    const auto started = std::chrono::steady_clock::now();
    Walk walk;
    if (!walkFolder(folder, walk)) {
        std::perror(folder);
        return 1;
    }
    const double walked = secondsSince(started);
    const auto searching = std::chrono::steady_clock::now();
    const long long readBefore = bytesRead();
    const std::vector<DuplicateGroup> groups =
        DuplicateFinder::find(walk.candidates, minimumSize, {}, threads);
    const double searched = secondsSince(searching);
    const long long readDuring = bytesRead() - readBefore;

    std::size_t files = 0;
    std::int64_t reclaimable = 0;
    for (const DuplicateGroup& group : groups) {
        for (const FileNode* node : group.files) {
            std::fwrite(node->name().data(), 1, node->name().size(), stdout);
            std::fputc('\n', stdout);
        }
        std::fputc('\n', stdout);
        files += group.files.size();
        reclaimable += group.reclaimable();
    }
    std::fprintf(stderr,
                 "%zu files walked in %.3f s; %zu groups of %zu files, %lld bytes reclaimable, "
                 "found in %.3f s reading %lld bytes\n",
                 walk.candidates.size(), walked, groups.size(), files,
                 static_cast<long long>(reclaimable), searched, readDuring);
    return 0;
}
