#include "widgets/NameRanks.hpp"

#include "app/RunInBackground.hpp"
#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"
#include "platform/ParallelMap.hpp"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#include <numeric>

namespace dorvale {

namespace {

// Below this many names a run is not worth a thread of its own.
constexpr std::size_t smallestRun = 16'384;
// Key ranges per thread, so that a range heavy with one name does not hold everyone up.
constexpr std::size_t rangesPerThread = 8;
// Samples per key range when choosing the range borders.
constexpr std::size_t samplesPerRange = 16;

// Runs `work(begin, end)` on `threads` threads, each over one part of `count` items, and
// returns each part's result in order.
template <typename Work>
auto inParts(std::size_t count, std::size_t threads, Work work) {
    const std::size_t step = (count + threads - 1) / threads;
    std::vector<std::size_t> begins;
    for (std::size_t begin = 0; begin < count; begin += step) {
        begins.push_back(begin);
    }
    return parallelMap(
        std::span<const std::size_t>(begins),
        [&](std::size_t begin) { return work(begin, std::min(count, begin + step)); }, threads);
}

// Runs `work(i)` for every i below `count` on `threads` threads, each taking the next i
// when done with one, and returns the results in order.
template <typename Work>
auto forEachIndex(std::size_t count, std::size_t threads, Work work) {
    std::vector<std::size_t> indexes(count);
    std::iota(indexes.begin(), indexes.end(), 0);
    return parallelMap(std::span<const std::size_t>(indexes), work, threads);
}

std::unique_ptr<icu::Collator> makeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status) || !collator) {
        collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    // Secondary strength tells accents apart and ignores case.
    collator->setStrength(icu::Collator::SECONDARY);
    return collator;
}

// A name's collation key, whose bytes compare as unsigned, with its first eight bytes as one
// big-endian integer so that most comparisons never reach the bytes.
struct CollationKey {
    std::uint64_t prefix;
    const std::uint8_t* bytes;
    std::uint32_t length;
    std::uint32_t name;
};

constexpr std::size_t prefixLength = sizeof(std::uint64_t);

std::uint64_t prefixOf(const std::uint8_t* bytes, std::size_t length) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < prefixLength; ++i) {
        prefix = prefix << 8 | (i < length ? bytes[i] : 0U);
    }
    return prefix;
}

// Compares two keys as byte strings: -1, 0 or 1.
int compare(const CollationKey& a, const CollationKey& b) {
    if (a.prefix != b.prefix) {
        return a.prefix < b.prefix ? -1 : 1;
    }
    // Equal prefixes: the first eight bytes are equal, where a key shorter than eight was
    // padded with zeros, so a shorter key is a prefix of the longer one.
    if (a.length > prefixLength && b.length > prefixLength) {
        const std::size_t common = std::min(a.length, b.length) - prefixLength;
        if (const int order = std::memcmp(a.bytes + prefixLength, b.bytes + prefixLength, common);
            order != 0) {
            return order;
        }
    }
    return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
}

bool before(const CollationKey& a, const CollationKey& b) {
    return compare(a, b) < 0;
}

// The collation keys of one run of names. The bytes lie in blocks that never move once
// written, so the keys can point into them.
struct KeyRun {
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks;
    std::vector<CollationKey> keys;
};

// Writes the keys of `names`, which start at name `first`, with a clone of `prototype`.
KeyRun keysOf(const icu::Collator& prototype, std::span<const std::string_view> names,
              std::size_t first) {
    const std::unique_ptr<icu::Collator> collator(prototype.clone());
    KeyRun run;
    run.keys.reserve(names.size());
    // Most names' keys fit in 24 bytes; one block usually takes the whole run.
    const std::size_t blockSize = std::max<std::size_t>(names.size() * 24, 4'096);
    std::uint8_t* room = nullptr;
    std::size_t roomLeft = 0;
    std::vector<UChar> text(256);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(text.data(), static_cast<std::int32_t>(text.size()), &length,
                             names[i].data(), static_cast<std::int32_t>(names[i].size()), 0xFFFD,
                             nullptr, &status);
        if (static_cast<std::size_t>(length) > text.size()) {
            text.resize(static_cast<std::size_t>(length));
            status = U_ZERO_ERROR;
            u_strFromUTF8WithSub(text.data(), length, &length, names[i].data(),
                                 static_cast<std::int32_t>(names[i].size()), 0xFFFD, nullptr,
                                 &status);
        }
        for (;;) {
            const std::int32_t keyLength = collator->getSortKey(
                text.data(), length, room, static_cast<std::int32_t>(roomLeft));
            const auto written = static_cast<std::size_t>(keyLength);
            if (room != nullptr && written <= roomLeft) {
                run.keys.push_back({prefixOf(room, written), room,
                                    static_cast<std::uint32_t>(written),
                                    static_cast<std::uint32_t>(first + i)});
                room += written;
                roomLeft -= written;
                break;
            }
            roomLeft = std::max(blockSize, written);
            run.blocks.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(roomLeft));
            room = run.blocks.back().get();
        }
    }
    return run;
}

// Borders that cut the keys into `ranges` ranges of about equal size, from evenly spaced
// samples of every run. Range r holds the keys with r borders at or before them, so equal
// keys always share a range.
std::vector<CollationKey> bordersOf(const std::vector<KeyRun>& runs, std::size_t ranges) {
    std::vector<CollationKey> samples;
    const std::size_t perRun = (ranges * samplesPerRange + runs.size() - 1) / runs.size();
    for (const KeyRun& run : runs) {
        const std::size_t taken = std::min(perRun, run.keys.size());
        for (std::size_t s = 0; s < taken; ++s) {
            samples.push_back(run.keys[s * run.keys.size() / taken]);
        }
    }
    std::sort(samples.begin(), samples.end(), before);
    std::vector<CollationKey> borders;
    for (std::size_t r = 1; r < ranges; ++r) {
        borders.push_back(samples[r * samples.size() / ranges]);
    }
    return borders;
}

// Which range each key of a run falls in, and how many of its keys each range takes.
struct RunRanges {
    std::vector<std::uint16_t> rangeOfKey;
    std::vector<std::size_t> counts;
};

RunRanges rangesOf(const KeyRun& run, const std::vector<CollationKey>& borders) {
    RunRanges ranges;
    ranges.counts.assign(borders.size() + 1, 0);
    ranges.rangeOfKey.reserve(run.keys.size());
    for (const CollationKey& key : run.keys) {
        const auto range = static_cast<std::uint16_t>(
            std::upper_bound(borders.begin(), borders.end(), key, before) - borders.begin());
        ranges.rangeOfKey.push_back(range);
        ++ranges.counts[range];
    }
    return ranges;
}

// All keys, range by range; `starts` holds where each range begins and, last, the count.
struct RangedKeys {
    std::unique_ptr<CollationKey[]> keys;
    std::vector<std::size_t> starts;
};

RangedKeys gather(const std::vector<KeyRun>& runs, const std::vector<RunRanges>& ranges,
                  std::size_t count, std::size_t threads) {
    const std::size_t rangeCount = ranges.front().counts.size();
    // Where each run writes its first key of each range.
    std::vector<std::vector<std::size_t>> cursors(runs.size(),
                                                  std::vector<std::size_t>(rangeCount));
    RangedKeys ranged{std::make_unique_for_overwrite<CollationKey[]>(count), {}};
    std::size_t next = 0;
    for (std::size_t r = 0; r < rangeCount; ++r) {
        ranged.starts.push_back(next);
        for (std::size_t run = 0; run < runs.size(); ++run) {
            cursors[run][r] = next;
            next += ranges[run].counts[r];
        }
    }
    ranged.starts.push_back(next);
    (void)forEachIndex(runs.size(), threads, [&](std::size_t run) {
        std::vector<std::size_t>& cursor = cursors[run];
        const std::vector<std::uint16_t>& rangeOfKey = ranges[run].rangeOfKey;
        for (std::size_t k = 0; k < runs[run].keys.size(); ++k) {
            ranged.keys[cursor[rangeOfKey[k]]++] = runs[run].keys[k];
        }
        return 0;
    });
    return ranged;
}

// Sorts each range and ranks its names from 0, then moves each range's ranks past the
// distinct keys of the ranges before it.
std::vector<std::uint32_t> rankRanges(RangedKeys& ranged, std::size_t count, std::size_t threads) {
    std::vector<std::uint32_t> ranks(count);
    const std::size_t rangeCount = ranged.starts.size() - 1;
    const std::vector<std::uint32_t> distinct =
        forEachIndex(rangeCount, threads, [&](std::size_t r) {
            CollationKey* const first = ranged.keys.get() + ranged.starts[r];
            CollationKey* const last = ranged.keys.get() + ranged.starts[r + 1];
            std::sort(first, last, before);
            std::uint32_t rank = 0;
            for (const CollationKey* key = first; key != last; ++key) {
                if (key != first && compare(key[-1], *key) != 0) {
                    ++rank;
                }
                ranks[key->name] = rank;
            }
            return first == last ? 0U : rank + 1;
        });
    std::vector<std::uint32_t> bases(distinct.size());
    std::exclusive_scan(distinct.begin(), distinct.end(), bases.begin(), 0U);
    (void)forEachIndex(rangeCount, threads, [&](std::size_t r) {
        if (bases[r] != 0) {
            for (std::size_t k = ranged.starts[r]; k < ranged.starts[r + 1]; ++k) {
                ranks[ranged.keys[k].name] += bases[r];
            }
        }
        return 0;
    });
    return ranks;
}

std::size_t threadsFor(std::size_t count) {
    return std::clamp<std::size_t>(count / smallestRun, 1, defaultParallelism());
}

} // namespace

std::vector<std::uint32_t> NameRanks::rank(std::span<const std::string_view> names) {
    if (names.empty()) {
        return {};
    }
    const std::unique_ptr<icu::Collator> collator = makeCollator();
    const std::size_t threads = threadsFor(names.size());
    const std::vector<KeyRun> runs =
        inParts(names.size(), threads, [&](std::size_t begin, std::size_t end) {
            return keysOf(*collator, names.subspan(begin, end - begin), begin);
        });
    const std::vector<CollationKey> borders =
        bordersOf(runs, threads == 1 ? 1 : threads * rangesPerThread);
    const std::vector<RunRanges> ranges = parallelMap(
        std::span<const KeyRun>(runs), [&](const KeyRun& run) { return rangesOf(run, borders); },
        threads);
    RangedKeys ranged = gather(runs, ranges, names.size(), threads);
    return rankRanges(ranged, names.size(), threads);
}

NameRanks::Names NameRanks::namesOf(const ScanResult& scan) {
    Names names;
    if (scan.root == nullptr) {
        return names;
    }
    // Files are most of a tree's nodes; reserving for them spares most regrowth.
    names.nodes.reserve(scan.files.size() + 1);
    names.names.reserve(scan.files.size() + 1);
    std::vector<const FileNode*> open{scan.root};
    while (!open.empty()) {
        const FileNode* node = open.back();
        open.pop_back();
        names.nodes.push_back(node);
        names.names.push_back(node->name());
        for (const FileNode* child : node->children()) {
            open.push_back(child);
        }
    }
    return names;
}

NameRanks NameRanks::ofNames(const Names& names) {
    const std::vector<std::uint32_t> ranks = rank(names.names);
    const std::size_t count = names.nodes.size();
    NameRanks result;
    // At most two thirds full, so that a look-up rarely probes past its first cache line.
    result.m_capacity = std::bit_ceil(std::max<std::size_t>(count + count / 2, 2));
    result.m_shift = 64 - std::countr_zero(result.m_capacity);
    const auto entries = std::make_shared_for_overwrite<Entry[]>(result.m_capacity);
    result.m_entries = entries;
    const std::size_t threads = threadsFor(count);
    // Each thread clears a part, so that the fresh pages are faulted in on all of them.
    (void)inParts(result.m_capacity, threads, [&](std::size_t begin, std::size_t end) {
        std::fill(entries.get() + begin, entries.get() + end, Entry{});
        return 0;
    });
    const std::vector<std::size_t> added =
        inParts(count, threads, [&](std::size_t begin, std::size_t end) {
            std::size_t inserted = 0;
            for (std::size_t i = begin; i < end; ++i) {
                inserted += result.insert(entries.get(), names.nodes[i], ranks[i]) ? 1 : 0;
            }
            return inserted;
        });
    result.m_count = std::accumulate(added.begin(), added.end(), std::size_t{0});
    return result;
}

void NameRanks::rankInBackground(QObject* context, std::shared_ptr<const ScanResult> scan,
                                 std::function<void(std::shared_ptr<const NameRanks>)> done) {
    auto names = std::make_shared<const Names>(namesOf(*scan));
    // The scan travels with its names so the bytes they point at stay alive.
    runInBackground(
        context,
        [scan = std::move(scan), names = std::move(names)] {
            return std::make_shared<const NameRanks>(ofNames(*names));
        },
        [done = std::move(done)](std::shared_ptr<const NameRanks> ranks) {
            done(std::move(ranks));
        });
}

std::size_t NameRanks::homeOf(const FileNode* node) const {
    const auto bits = reinterpret_cast<std::uintptr_t>(node);
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> m_shift);
}

// Claims an empty slot for `node` while other threads insert other nodes; false when the
// node is in the table already.
bool NameRanks::insert(Entry* entries, const FileNode* node, std::uint32_t rank) const {
    const std::size_t mask = m_capacity - 1;
    for (std::size_t slot = homeOf(node);; slot = (slot + 1) & mask) {
        const FileNode* held = nullptr;
        if (std::atomic_ref<const FileNode*>(entries[slot].node)
                .compare_exchange_strong(held, node, std::memory_order_relaxed)) {
            // Only the thread that claimed the slot writes its rank; the threads are joined
            // before anyone reads it.
            entries[slot].rank = rank;
            return true;
        }
        if (held == node) {
            return false;
        }
    }
}

std::uint32_t NameRanks::rankOf(const FileNode* node) const {
    if (m_capacity == 0 || node == nullptr) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    const std::size_t mask = m_capacity - 1;
    for (std::size_t slot = homeOf(node);; slot = (slot + 1) & mask) {
        const Entry& entry = m_entries[slot];
        if (entry.node == node) {
            return entry.rank;
        }
        if (entry.node == nullptr) {
            return std::numeric_limits<std::uint32_t>::max();
        }
    }
}

} // namespace dorvale
