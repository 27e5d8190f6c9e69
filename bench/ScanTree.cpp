// Builds a synthetic home folder for the scan benchmarks: a fixed number of file entries
// spread over folders with the depth and fan-out of a used home folder (projects with deep
// dependency trees, caches with hashed names, photo folders, music albums), mostly small
// files, a few large ones, large sparse files, hard links, symbolic links and a few names that
// are not valid UTF-8. Most small files have a length but no blocks, so the tree keeps disk
// use modest. The same seed gives the same tree.
//
// Usage: dorvale_scan_tree <folder> [files]
// The tree is built in "<folder>.partial" and renamed to <folder> when complete, so an
// existing <folder> is always a whole tree.

#include "platform/Descriptor.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using dorvale::Descriptor;

constexpr std::int64_t defaultFiles = 1'000'000;
constexpr int maxDepth = 18;
constexpr std::int64_t kib = 1024;
constexpr std::int64_t mib = 1024 * kib;

[[noreturn]] void fail(std::string_view what, const std::string& path) {
    std::fprintf(stderr, "dorvale_scan_tree: %.*s %s: %s\n", static_cast<int>(what.size()),
                 what.data(), path.c_str(), std::strerror(errno));
    std::exit(1);
}

// How the folders of one part of the home folder look.
struct Style {
    int minFiles;
    int maxFiles;
    int minFolders;
    int maxFolders;
    std::vector<std::string_view> folderNames;
    std::vector<std::string_view> extensions;
    std::string_view filePrefix;
};

const Style documents{3,
                      25,
                      1,
                      5,
                      {"Work", "Taxes", "Letters", "Archive", "Notes", "Scans", "2021", "2022"},
                      {"pdf", "docx", "xlsx", "txt", "md", "pages", "csv", "rtf"},
                      "Document "};
const Style photos{20,
                   200,
                   1,
                   4,
                   {"Holiday", "Family", "Exports", "Raw", "Edited", "Screenshots"},
                   {"jpg", "heic", "png", "jpg", "cr2", "mov"},
                   "IMG_"};
const Style music{8,
                  16,
                  2,
                  8,
                  {"Artist", "Album", "Live", "Singles", "Podcasts"},
                  {"m4a", "mp3", "flac", "m4a"},
                  "Track "};
const Style movies{1, 6, 1, 3, {"Clips", "Projects", "Exports"}, {"mov", "mp4", "mkv"}, "Clip "};
const Style downloads{5,
                      40,
                      1,
                      3,
                      {"Installers", "Papers", "Unpacked", "old"},
                      {"dmg", "zip", "pdf", "pkg", "tar.gz", "iso", "png"},
                      "download-"};
const Style code{2,
                 15,
                 1,
                 6,
                 {"src", "lib", "node_modules", "dist", "test", "components", "utils", ".git",
                  "objects", "build", "include", "vendor", "__pycache__", "docs", "packages"},
                 {"js", "ts", "json", "py", "c", "h", "cpp", "md", "css", "map", "o", "pyc"},
                 "module"};
const Style cache{5,
                  60,
                  1,
                  16,
                  {"Cache_Data", "com.example.app", "http-cache", "GPUCache", "blob_storage",
                   "fsCachedData", "thumbnails", "index.db"},
                  {"cache", "dat", "db", "tmp", "json", "bin"},
                  "f_"};
const Style appData{2,
                    20,
                    1,
                    6,
                    {"Containers", "Data", "Library", "Preferences", "Databases", "Local Storage",
                     "IndexedDB", "Service Worker", "profiles", "extensions"},
                    {"plist", "sqlite", "db", "json", "log", "xml", "ldb"},
                    "data"};

struct Area {
    const char* path;
    double share;
    const Style* style;
};

// Where the files go; the shares add up to one.
const Area areas[] = {
    {"Projects", 0.40, &code},
    {"Library/Caches", 0.12, &cache},
    {"Library/Application Support", 0.10, &appData},
    {"Library/Containers", 0.06, &appData},
    {"Pictures", 0.08, &photos},
    {"Documents", 0.08, &documents},
    {"Music", 0.04, &music},
    {"Downloads", 0.02, &downloads},
    {"Movies", 0.005, &movies},
    {".cache", 0.06, &cache},
    {".local/share", 0.035, &appData},
};

struct Totals {
    std::int64_t files = 0;
    std::int64_t folders = 0;
    std::int64_t hardLinks = 0;
    std::int64_t symlinks = 0;
    std::int64_t largeFiles = 0;
    std::int64_t sparseLarge = 0;
    int deepest = 0;

    void add(const Totals& other) {
        files += other.files;
        folders += other.folders;
        hardLinks += other.hardLinks;
        symlinks += other.symlinks;
        largeFiles += other.largeFiles;
        sparseLarge += other.sparseLarge;
        deepest = std::max(deepest, other.deepest);
    }
};

// Grows one area of the tree; each area has its own generator, so areas can be built in
// parallel and still come out the same every time.
class AreaMaker {
public:
    explicit AreaMaker(unsigned seed)
        : m_random(seed) {}

    void grow(int folder, std::string& path, int depth, std::int64_t budget, const Style& style) {
        m_totals.deepest = std::max(m_totals.deepest, depth);
        std::int64_t local =
            std::min<std::int64_t>(budget, between(style.minFiles, style.maxFiles));
        // A remainder smaller than a folder's worth stays here rather than making a sliver.
        if (depth >= maxDepth || budget - local < style.minFiles * 2) {
            local = budget;
        }
        for (std::int64_t i = 0; i < local; ++i) {
            makeEntry(folder, path, i, style);
        }
        const std::int64_t rest = budget - local;
        if (rest > 0) {
            growFolders(folder, path, depth, rest, style);
        }
    }

    [[nodiscard]] const Totals& totals() const { return m_totals; }

private:
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }

    double chance() { return std::uniform_real_distribution(0.0, 1.0)(m_random); }

    void growFolders(int folder, std::string& path, int depth, std::int64_t budget,
                     const Style& style) {
        const auto count = static_cast<int>(
            std::min<std::int64_t>(budget, between(style.minFolders, style.maxFolders)));
        for (const std::int64_t share : split(budget, count)) {
            if (share == 0) {
                continue;
            }
            const std::string name = folderName(style);
            if (mkdirat(folder, name.c_str(), 0755) != 0) {
                fail("mkdir", path + "/" + name);
            }
            const Descriptor sub(openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!sub.valid()) {
                fail("open", path + "/" + name);
            }
            ++m_totals.folders;
            const std::size_t length = path.size();
            path += '/';
            path += name;
            grow(sub.get(), path, depth + 1, share, style);
            path.resize(length);
        }
    }

    // Divides `budget` over `count` sub-folders with skewed weights, so some branches run
    // much deeper than others.
    std::vector<std::int64_t> split(std::int64_t budget, int count) {
        std::exponential_distribution<double> weight(1.0);
        std::vector<double> weights(static_cast<std::size_t>(count));
        double sum = 0;
        for (double& w : weights) {
            w = weight(m_random);
            sum += w;
        }
        std::vector<std::int64_t> shares;
        std::int64_t given = 0;
        for (const double w : weights) {
            shares.push_back(static_cast<std::int64_t>(static_cast<double>(budget) * w / sum));
            given += shares.back();
        }
        shares.front() += budget - given;
        return shares;
    }

    std::string folderName(const Style& style) {
        const auto& names = style.folderNames;
        std::string name(
            names[static_cast<std::size_t>(between(0, static_cast<int>(names.size()) - 1))]);
        return name + "-" + std::to_string(m_nextFolder++);
    }

    std::string fileName(const Style& style, std::int64_t index) {
        const auto& extensions = style.extensions;
        std::string name(style.filePrefix);
        const double odd = chance();
        if (odd < 0.0005) {
            name += "\xff\xfe";
        } else if (odd < 0.001) {
            name += "new\nline ";
        }
        name += std::to_string(index);
        name += '.';
        name += extensions[static_cast<std::size_t>(
            between(0, static_cast<int>(extensions.size()) - 1))];
        return name;
    }

    void makeEntry(int folder, const std::string& path, std::int64_t index, const Style& style) {
        const std::string name = fileName(style, index);
        const double kind = chance();
        ++m_totals.files;
        if (kind < 0.01 && !m_recent.empty()) {
            makeHardLink(folder, path, name);
        } else if (kind < 0.02) {
            const std::string target = "../" + std::to_string(index) + ".target";
            if (symlinkat(target.c_str(), folder, name.c_str()) != 0) {
                fail("symlink", path + "/" + name);
            }
            ++m_totals.symlinks;
        } else {
            makeFile(folder, path, name);
        }
    }

    void makeHardLink(int folder, const std::string& path, const std::string& name) {
        const std::string& existing =
            m_recent[static_cast<std::size_t>(between(0, static_cast<int>(m_recent.size()) - 1))];
        if (linkat(AT_FDCWD, existing.c_str(), folder, name.c_str(), 0) != 0) {
            fail("link", path + "/" + name);
        }
        ++m_totals.hardLinks;
    }

    void makeFile(int folder, const std::string& path, const std::string& name) {
        const Descriptor fd(
            openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (!fd.valid()) {
            fail("create", path + "/" + name);
        }
        if (!fill(fd.get())) {
            fail("size", path + "/" + name);
        }
        if (chance() < 0.002) {
            remember(path + "/" + name);
        }
    }

    // Gives a new file its length and allocation: most small files own no blocks, a few own
    // some, rare ones are large, and rarer ones are long but (mostly) unallocated.
    bool fill(int fd) {
        const double size = chance();
        if (size < 0.0002) {
            ++m_totals.largeFiles;
            return posix_fallocate(fd, 0, between(512, 1536) * kib) == 0;
        }
        if (size < 0.0004) {
            ++m_totals.sparseLarge;
            if (chance() < 0.5 && posix_fallocate(fd, 0, 64 * kib) != 0) {
                return false;
            }
            return ftruncate(fd, between(100, 8192) * mib) == 0;
        }
        if (size < 0.025) {
            return posix_fallocate(fd, 0, between(1, 12 * 1024)) == 0;
        }
        const int length = between(0, 64 * 1024);
        return length == 0 || ftruncate(fd, length) == 0;
    }

    void remember(std::string path) {
        constexpr std::size_t kept = 64;
        if (m_recent.size() < kept) {
            m_recent.push_back(std::move(path));
        } else {
            m_recent[static_cast<std::size_t>(between(0, kept - 1))] = std::move(path);
        }
    }

    std::mt19937_64 m_random;
    Totals m_totals;
    std::vector<std::string> m_recent;
    std::int64_t m_nextFolder = 0;
};

// Makes `relative` (such as "Library/Caches") beneath `root` and returns its descriptor.
Descriptor makeFolders(const std::string& root, std::string_view relative, Totals& totals) {
    Descriptor folder(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::string path = root;
    std::size_t start = 0;
    while (folder.valid() && start < relative.size()) {
        std::size_t end = relative.find('/', start);
        end = end == std::string_view::npos ? relative.size() : end;
        const std::string name(relative.substr(start, end - start));
        path += "/" + name;
        if (mkdirat(folder.get(), name.c_str(), 0755) == 0) {
            ++totals.folders;
        } else if (errno != EEXIST) {
            fail("mkdir", path);
        }
        folder = Descriptor(openat(folder.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        start = end + 1;
    }
    if (!folder.valid()) {
        fail("open", path);
    }
    return folder;
}

std::vector<std::int64_t> areaBudgets(std::int64_t files) {
    std::vector<std::int64_t> budgets;
    std::int64_t given = 0;
    for (const Area& area : areas) {
        budgets.push_back(static_cast<std::int64_t>(static_cast<double>(files) * area.share));
        given += budgets.back();
    }
    budgets.front() += files - given;
    return budgets;
}

Totals build(const std::string& root, std::int64_t files) {
    constexpr std::size_t areaCount = std::size(areas);
    const std::vector<std::int64_t> budgets = areaBudgets(files);
    std::vector<Totals> totals(areaCount);
    Totals top;
    std::vector<Descriptor> folders;
    for (const Area& area : areas) {
        folders.push_back(makeFolders(root, area.path, top));
    }
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < areaCount; i = next++) {
            AreaMaker maker(static_cast<unsigned>(1000 + i));
            std::string path = root + "/" + areas[i].path;
            maker.grow(folders[i].get(), path, 1, budgets[i], *areas[i].style);
            totals[i] = maker.totals();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < 4; ++i) {
            threads.emplace_back(worker);
        }
    }
    for (const Totals& area : totals) {
        top.add(area);
    }
    return top;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: dorvale_scan_tree <folder> [files]\n");
        return 2;
    }
    std::string folder = argv[1];
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    const std::int64_t files = argc == 3 ? std::atoll(argv[2]) : defaultFiles;
    if (files <= 0) {
        std::fprintf(stderr, "dorvale_scan_tree: the number of files must be positive\n");
        return 2;
    }
    struct stat existing {};
    if (lstat(folder.c_str(), &existing) == 0) {
        std::fprintf(stderr, "dorvale_scan_tree: %s already exists\n", folder.c_str());
        return 1;
    }
    const std::string partial = folder + ".partial";
    if (mkdir(partial.c_str(), 0755) != 0) {
        fail("mkdir", partial);
    }
    const Totals totals = build(partial, files);
    if (rename(partial.c_str(), folder.c_str()) != 0) {
        fail("rename", partial);
    }
    std::printf("tree=%s files=%lld folders=%lld hard_links=%lld symlinks=%lld large=%lld "
                "sparse_large=%lld depth=%d\n",
                folder.c_str(), static_cast<long long>(totals.files),
                static_cast<long long>(totals.folders + 1),
                static_cast<long long>(totals.hardLinks), static_cast<long long>(totals.symlinks),
                static_cast<long long>(totals.largeFiles),
                static_cast<long long>(totals.sparseLarge), totals.deepest);
    return 0;
}
