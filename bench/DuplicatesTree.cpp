// Writes a folder tree for measuring duplicate finders: about 20,000 files from 1 KB to 50 MB,
// about 30% of them in groups of identical copies, and decoys that share their length with
// another file and differ from it only in the first 4 KiB, only between 4 and 64 KiB, or only
// in the last bytes. Most files are small and a few are large, so the tree takes about 3 GB.
// One folder in ten and one file in twenty-five are hidden (their names begin with a dot), and
// about one file in two hundred is empty, so that a comparison shows what each tool is set to
// see. The same seed always gives the same tree.
//
// Usage: dorvale_dupes_tree FOLDER [FILES [SEED]]

#include "platform/Descriptor.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int64_t kib = 1024;
constexpr std::int64_t mib = 1024 * kib;
constexpr std::int64_t chunkBytes = mib;
constexpr int folderCount = 100;

// splitmix64: fast, and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high).
    std::int64_t below(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(high - low));
    }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Spread evenly over orders of magnitude between low and high.
    std::int64_t logUniform(std::int64_t low, std::int64_t high) {
        const double exponent =
            std::log(static_cast<double>(low)) + unit() * std::log(static_cast<double>(high) / low);
        return std::clamp(static_cast<std::int64_t>(std::exp(exponent)), low, high - 1);
    }

private:
    std::uint64_t m_state;
};

// One file to write: `length` bytes of the stream of `seed`, with the byte at `flipAt`
// changed when it is not negative.
struct FileSpec {
    std::int64_t length = 0;
    std::uint64_t seed = 0;
    std::int64_t flipAt = -1;
};

struct Plan {
    std::vector<FileSpec> files{};
    std::int64_t groups = 0;
    std::int64_t filesInGroups = 0;
    std::int64_t decoys = 0;
    std::int64_t empty = 0;
};

constexpr int hiddenFolderEvery = 10;
constexpr std::size_t hiddenFileEvery = 25;

// Mostly small files and a few large ones, as in a home folder.
std::int64_t pickLength(Random& random, std::int64_t atLeast = 1'000) {
    const double roll = random.unit();
    if (roll < 0.0012) {
        return random.logUniform(std::max(atLeast, 8 * mib), 50'000'000);
    }
    if (roll < 0.015) {
        return random.logUniform(std::max(atLeast, mib), 8 * mib);
    }
    if (roll < 0.16 || atLeast > 64 * kib) {
        return random.logUniform(std::max(atLeast, 64 * kib), mib);
    }
    return random.logUniform(std::max(atLeast, std::int64_t{1'000}), 64 * kib);
}

void addCopies(Plan& plan, Random& random) {
    const FileSpec original{pickLength(random), random.next()};
    const auto copies = random.below(2, 5);
    for (std::int64_t i = 0; i < copies; ++i) {
        plan.files.push_back(original);
    }
    ++plan.groups;
    plan.filesInGroups += copies;
}

// A file and one or two variants of the same length that differ in one byte: in the first
// 4 KiB, between 4 and 64 KiB, or among the last 16 bytes. Now and then the base file has a
// true copy too.
void addDecoys(Plan& plan, Random& random) {
    const int kind = static_cast<int>(random.below(0, 3));
    const std::int64_t length = pickLength(random, kind == 0 ? 4 * kib + 1 : 64 * kib + 1);
    const FileSpec base{length, random.next()};
    plan.files.push_back(base);
    if (random.unit() < 0.3) {
        plan.files.push_back(base);
        ++plan.groups;
        plan.filesInGroups += 2;
    }
    const auto variants = random.below(1, 3);
    std::int64_t previous = -1;
    for (std::int64_t i = 0; i < variants; ++i) {
        FileSpec variant = base;
        // Two variants changed at the same byte would be copies of each other.
        while (variant.flipAt < 0 || variant.flipAt == previous) {
            switch (kind) {
            case 0:
                variant.flipAt = random.below(0, 4 * kib);
                break;
            case 1:
                variant.flipAt = random.below(4 * kib, 64 * kib);
                break;
            default:
                variant.flipAt = length - 1 - random.below(0, 16);
                break;
            }
        }
        previous = variant.flipAt;
        plan.files.push_back(variant);
        ++plan.decoys;
    }
}

Plan makePlan(std::int64_t fileCount, std::uint64_t seed) {
    Random random(seed);
    Plan plan;
    while (static_cast<std::int64_t>(plan.files.size()) < fileCount) {
        const double roll = random.unit();
        if (roll < 0.12) {
            addCopies(plan, random);
        } else if (roll < 0.15) {
            addDecoys(plan, random);
        } else if (roll < 0.155) {
            plan.files.push_back(FileSpec{0, random.next()});
            ++plan.empty;
        } else {
            plan.files.push_back(FileSpec{pickLength(random), random.next()});
        }
    }
    // Copies and decoys land in different folders, in no particular order.
    for (std::size_t i = plan.files.size(); i > 1; --i) {
        std::swap(plan.files[i - 1], plan.files[static_cast<std::size_t>(random.next() % i)]);
    }
    return plan;
}

[[noreturn]] void fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "dorvale_dupes_tree: %s %s: %s\n", what, path.c_str(),
                 std::strerror(errno));
    std::exit(1);
}

void writeFile(const std::string& path, const FileSpec& spec, std::byte* buffer) {
    dorvale::Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        fail("open", path);
    }
    Random stream(spec.seed);
    for (std::int64_t offset = 0; offset < spec.length; offset += chunkBytes) {
        const std::int64_t count = std::min(chunkBytes, spec.length - offset);
        for (std::int64_t i = 0; i < count; i += 8) {
            const std::uint64_t word = stream.next();
            std::memcpy(buffer + i, &word,
                        static_cast<std::size_t>(std::min<std::int64_t>(8, count - i)));
        }
        if (spec.flipAt >= offset && spec.flipAt < offset + count) {
            buffer[spec.flipAt - offset] ^= std::byte{0x5a};
        }
        errno = dorvale::writeAll(fd.get(), std::string_view(reinterpret_cast<const char*>(buffer),
                                                             static_cast<std::size_t>(count)));
        if (errno != 0) {
            fail("write", path);
        }
    }
    if (!fd.close()) {
        fail("close", path);
    }
}

void makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        fail("mkdir", path);
    }
}

std::string folderName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "%sd%03d",
                  index % hiddenFolderEvery == hiddenFolderEvery - 1 ? "." : "", index);
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER [FILES [SEED]]\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const std::int64_t fileCount = argc > 2 ? std::atoll(argv[2]) : 20'000;
    const std::uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 2024;
    const Plan plan = makePlan(fileCount, seed);

    makeFolder(root);
    for (int i = 0; i < folderCount; ++i) {
        makeFolder(root + "/" + folderName(i));
    }
    const auto buffer = std::make_unique<std::byte[]>(chunkBytes);
    std::int64_t bytes = 0;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/%sf%05zu.dat", i % hiddenFileEvery == 0 ? "." : "", i);
        writeFile(root + "/" + folderName(static_cast<int>(i % folderCount)) + name, plan.files[i],
                  buffer.get());
        bytes += plan.files[i].length;
    }
    std::printf("%zu files, %lld bytes; %lld duplicate groups holding %lld files; %lld decoys; "
                "%lld empty files\n",
                plan.files.size(), static_cast<long long>(bytes),
                static_cast<long long>(plan.groups), static_cast<long long>(plan.filesInGroups),
                static_cast<long long>(plan.decoys), static_cast<long long>(plan.empty));
    return 0;
}
