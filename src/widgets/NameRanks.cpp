#include "widgets/NameRanks.hpp"

#include "app/RunInBackground.hpp"
#include "model/FileNode.hpp"
#include "model/ScanResult.hpp"
#include "platform/ParallelMap.hpp"

#include <queue>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace dorvale {

namespace {

// Below this many names a chunk is not worth a thread of its own.
constexpr std::size_t smallestChunk = 16'384;

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

// The collation keys of one run of names, side by side in one arena, sorted.
struct Chunk {
    struct Key {
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t name;
    };
    // Compared as `std::string_view`s, which compare bytes as unsigned, as collation keys
    // must be.
    std::vector<std::uint8_t> bytes;
    std::vector<Key> keys;

    [[nodiscard]] std::string_view key(const Key& key) const {
        return {reinterpret_cast<const char*>(bytes.data()) + key.offset, key.length};
    }
};

Chunk sortedKeys(const icu::Collator& prototype, std::span<const std::string_view> names,
                 std::size_t first) {
    const std::unique_ptr<icu::Collator> collator(prototype.clone());
    Chunk chunk;
    chunk.keys.reserve(names.size());
    chunk.bytes.resize(names.size() * 24);
    std::size_t used = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
            icu::StringPiece(names[i].data(), static_cast<std::int32_t>(names[i].size())));
        for (;;) {
            const std::size_t room = chunk.bytes.size() - used;
            const std::int32_t length = collator->getSortKey(text, chunk.bytes.data() + used,
                                                             static_cast<std::int32_t>(room));
            if (static_cast<std::size_t>(length) <= room) {
                chunk.keys.push_back({static_cast<std::uint32_t>(used),
                                      static_cast<std::uint32_t>(length),
                                      static_cast<std::uint32_t>(first + i)});
                used += static_cast<std::size_t>(length);
                break;
            }
            chunk.bytes.resize(
                std::max(chunk.bytes.size() * 2, used + static_cast<std::size_t>(length)));
        }
    }
    std::sort(
        chunk.keys.begin(), chunk.keys.end(),
        [&chunk](const Chunk::Key& a, const Chunk::Key& b) { return chunk.key(a) < chunk.key(b); });
    return chunk;
}

// Merges the sorted chunks, counting a new rank wherever the key changes.
std::vector<std::uint32_t> mergeRanks(const std::vector<Chunk>& chunks, std::size_t count) {
    struct Head {
        std::size_t chunk;
        std::size_t position;
    };
    const auto keyOf = [&chunks](const Head& head) {
        const Chunk& chunk = chunks[head.chunk];
        return chunk.key(chunk.keys[head.position]);
    };
    const auto later = [&keyOf](const Head& a, const Head& b) {
        return keyOf(b) < keyOf(a);
    };
    std::priority_queue<Head, std::vector<Head>, decltype(later)> heads(later);
    for (std::size_t c = 0; c < chunks.size(); ++c) {
        if (!chunks[c].keys.empty()) {
            heads.push({c, 0});
        }
    }
    std::vector<std::uint32_t> ranks(count);
    std::uint32_t rank = 0;
    std::string_view previous;
    bool first = true;
    while (!heads.empty()) {
        Head head = heads.top();
        heads.pop();
        const auto key = keyOf(head);
        if (!first && key != previous) {
            ++rank;
        }
        first = false;
        previous = key;
        ranks[chunks[head.chunk].keys[head.position].name] = rank;
        if (++head.position < chunks[head.chunk].keys.size()) {
            heads.push(head);
        }
    }
    return ranks;
}

} // namespace

std::vector<std::uint32_t> NameRanks::rank(std::span<const std::string_view> names) {
    const std::unique_ptr<icu::Collator> collator = makeCollator();
    const std::size_t threads =
        std::clamp<std::size_t>(names.size() / smallestChunk, 1, defaultParallelism());
    const std::size_t step = (names.size() + threads - 1) / threads;
    std::vector<std::size_t> starts;
    for (std::size_t start = 0; start < names.size(); start += step) {
        starts.push_back(start);
    }
    const std::vector<Chunk> chunks = parallelMap(
        std::span<const std::size_t>(starts),
        [&](std::size_t start) {
            return sortedKeys(*collator, names.subspan(start, std::min(step, names.size() - start)),
                              start);
        },
        threads);
    return mergeRanks(chunks, names.size());
}

NameRanks::Names NameRanks::namesOf(const ScanResult& scan) {
    Names names;
    if (scan.root == nullptr) {
        return names;
    }
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
    NameRanks result;
    const std::vector<std::uint32_t> ranks = rank(names.names);
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(names.nodes.size() * 2, 2));
    result.m_shift = 64 - std::countr_zero(capacity);
    result.m_nodes.assign(capacity, nullptr);
    result.m_ranks.assign(capacity, 0);
    for (std::size_t i = 0; i < names.nodes.size(); ++i) {
        const std::size_t slot = result.slotOf(names.nodes[i]);
        if (result.m_nodes[slot] == nullptr) {
            result.m_nodes[slot] = names.nodes[i];
            result.m_ranks[slot] = ranks[i];
            ++result.m_count;
        }
    }
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

// The slot holding `node`, or the empty slot where it would go.
std::size_t NameRanks::slotOf(const FileNode* node) const {
    const std::size_t mask = m_nodes.size() - 1;
    const auto bits = reinterpret_cast<std::uintptr_t>(node);
    std::size_t slot = static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> m_shift);
    while (m_nodes[slot] != nullptr && m_nodes[slot] != node) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

std::uint32_t NameRanks::rankOf(const FileNode* node) const {
    if (m_nodes.empty() || node == nullptr) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    const std::size_t slot = slotOf(node);
    return m_nodes[slot] == node ? m_ranks[slot] : std::numeric_limits<std::uint32_t>::max();
}

} // namespace dorvale
