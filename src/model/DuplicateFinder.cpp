#include "model/DuplicateFinder.hpp"

#include "model/FileNode.hpp"
#include "platform/Descriptor.hpp"
#include "platform/FileOperations.hpp"
#include "platform/Text.hpp"
#include "platform/WorkQueue.hpp"
#include "platform/WorkerThreads.hpp"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace dorvale::DuplicateFinder {

namespace {

// Indices into the candidate list, in scan order.
using Members = std::vector<std::size_t>;

// A file as the system knows it, whatever name it is reached by: hard links share one.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// Which file an open descriptor reads, and the figures that change when it is written.
struct FileState {
    FileIdentity file{};
    off_t length = 0;
    timespec modified{};
    timespec changed{};

    explicit FileState(const struct stat& info)
        : file{info.st_dev, info.st_ino}
        , length(info.st_size)
        , modified(info.st_mtim)
        , changed(info.st_ctim) {}

    // Whether nothing wrote to the file between the two looks: a write or a truncation sets
    // the modification time, and anything done to the file sets its change time.
    [[nodiscard]] bool unchangedSince(const FileState& earlier) const {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return file == earlier.file && length == earlier.length &&
               same(modified, earlier.modified) && same(changed, earlier.changed);
    }
};

std::optional<FileState> stateOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return FileState(info);
}

// One read into the hashing buffer. Files are streamed through that buffer, however long they
// are, so the whole-file `readAll` does not serve here.
ssize_t readRetrying(int fd, std::byte* into, std::size_t bytes) {
    ssize_t got = 0;
    do {
        got = ::read(fd, into, bytes);
    } while (got < 0 && errno == EINTR);
    return got;
}

// Looked up once: a digest initialised with EVP_sha256() would fetch the algorithm again
// for every file.
const EVP_MD* sha256Algorithm() {
    static const std::unique_ptr<EVP_MD, decltype(&EVP_MD_free)> algorithm(
        EVP_MD_fetch(nullptr, "SHA256", nullptr), &EVP_MD_free);
    return algorithm.get();
}

// The SHA-256 of bytes read from the start of a file, and the file they were read from.
struct Digest {
    std::string hex{};
    FileIdentity file{};
};

// Reads files into SHA-256 digests through one bounded buffer and one computation, both
// reused for every file of a search.
class Hasher {
public:
    Hasher()
        : m_buffer(std::make_unique_for_overwrite<std::byte[]>(readChunkBytes))
        , m_context(EVP_MD_CTX_new(), &EVP_MD_CTX_free) {}

    // The digest of the file's bytes from its first one up to `limit` (without a limit, up to
    // its end). None when the file cannot be opened or read, when it ends early, when it
    // does not have `expectedLength` (when given), or when its length, modification or change
    // time at the end of the reading differ from those at its start: the digest would then
    // describe bytes the file may no longer hold.
    [[nodiscard]] std::optional<Digest> digest(const std::string& path,
                                               std::optional<std::int64_t> limit,
                                               std::optional<std::int64_t> expectedLength);

private:
    bool feed(int fd, std::int64_t bytes);
    bool atEnd(int fd);
    std::optional<std::string> finish();

    std::unique_ptr<std::byte[]> m_buffer;
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> m_context;
};

std::optional<Digest> Hasher::digest(const std::string& path, std::optional<std::int64_t> limit,
                                     std::optional<std::int64_t> expectedLength) {
    // The open never waits for a writer when the path has become a FIFO since the scan, and
    // turns away anything else that is not a regular file.
    const Result<Descriptor> opened = openRegularFile(path);
    if (!opened.ok()) {
        return std::nullopt;
    }
    const Descriptor& file = opened.value();
    const std::optional<FileState> before = stateOf(file.get());
    if (!before || (expectedLength && *expectedLength != before->length) || !m_context ||
        EVP_DigestInit_ex(m_context.get(), sha256Algorithm(), nullptr) != 1) {
        return std::nullopt;
    }
    // Reading stops at the length the file had when it was opened, so a file that keeps
    // growing cannot hold the search; when that is the end of what is read, the check for
    // more bytes afterwards turns such a file away.
    const std::int64_t length = before->length;
    const std::int64_t stop = limit ? std::clamp<std::int64_t>(*limit, 0, length) : length;
    if (stop > readChunkBytes) {
        ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    if (!feed(file.get(), stop) || (stop == length && !atEnd(file.get()))) {
        return std::nullopt;
    }
    const std::optional<FileState> after = stateOf(file.get());
    if (!after || !after->unchangedSince(*before)) {
        return std::nullopt;
    }
    std::optional<std::string> hex = finish();
    if (!hex) {
        return std::nullopt;
    }
    return Digest{std::move(*hex), before->file};
}

// Hashes exactly `bytes` bytes from the current position. A failed read, or an end of file
// before them (the file shrank), is a failure: a digest of part of the bytes would let a file
// match what it does not equal.
bool Hasher::feed(int fd, std::int64_t bytes) {
    while (bytes > 0) {
        const auto wanted = static_cast<std::size_t>(std::min(bytes, readChunkBytes));
        const ssize_t got = readRetrying(fd, m_buffer.get(), wanted);
        if (got <= 0 ||
            EVP_DigestUpdate(m_context.get(), m_buffer.get(), static_cast<std::size_t>(got)) != 1) {
            return false;
        }
        bytes -= got;
    }
    return true;
}

bool Hasher::atEnd(int fd) {
    return readRetrying(fd, m_buffer.get(), 1) == 0;
}

std::optional<std::string> Hasher::finish() {
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int count = 0;
    if (EVP_DigestFinal_ex(m_context.get(), bytes, &count) != 1) {
        return std::nullopt;
    }
    return toHex(std::string_view(reinterpret_cast<const char*>(bytes), count));
}

bool isCandidate(const DuplicateCandidate& file, std::int64_t minimumSize) {
    // Files inside application bundles and photo libraries belong to them and are never
    // offered for removal.
    return !file.deleted && file.logicalSize >= minimumSize &&
           file.path.find(".app/") == std::string::npos &&
           file.path.find(".photoslibrary/") == std::string::npos;
}

// The candidates grouped by length, keeping only lengths that two or more files share.
std::vector<Members> sizeGroups(std::span<const DuplicateCandidate> candidates,
                                std::int64_t minimumSize) {
    std::map<std::int64_t, Members> bySize;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (isCandidate(candidates[i], minimumSize)) {
            bySize[candidates[i].logicalSize].push_back(i);
        }
    }
    std::vector<Members> groups;
    for (auto& [length, members] : bySize) {
        if (members.size() >= 2) {
            groups.push_back(std::move(members));
        }
    }
    return groups;
}

// One file of a size group while its key is worked out: the partial key first, then the
// full key, each with the file it was read from.
struct PendingFile {
    std::size_t index = 0;
    std::optional<Digest> key{};
};

using PendingGroup = std::vector<PendingFile*>;

// Groups files by key, in order of first appearance and keeping scan order inside each group.
// A file without a key matches nothing and is left out, and so is every name of a file after
// its first (hard links): deleting one of them would free nothing.
std::vector<PendingGroup> groupByKey(const PendingGroup& files) {
    std::vector<PendingGroup> groups;
    std::unordered_map<std::string_view, std::size_t> slots;
    std::set<FileIdentity> seen;
    for (PendingFile* file : files) {
        if (!file->key || !seen.insert(file->key->file).second) {
            continue;
        }
        const auto [slot, added] = slots.try_emplace(file->key->hex, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[slot->second].push_back(file);
    }
    return groups;
}

// The partial key of each file: the digest of its first 64 KiB.
std::vector<PendingFile> partialKeys(std::span<const DuplicateCandidate> candidates,
                                     const Members& members, Hasher& hasher) {
    std::vector<PendingFile> files(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const DuplicateCandidate& candidate = candidates[members[i]];
        files[i].index = members[i];
        files[i].key = hasher.digest(candidate.path, partialKeyBytes, candidate.logicalSize);
    }
    return files;
}

// The full key of each file: the digest of its whole content, read again from the first
// byte. Carrying on from the partial key would pair bytes read at two moments, and a file
// rewritten at its start in between would keep matching content it no longer holds.
void fullKeys(std::span<const DuplicateCandidate> candidates, const PendingGroup& files,
              Hasher& hasher) {
    for (PendingFile* file : files) {
        const DuplicateCandidate& candidate = candidates[file->index];
        file->key = hasher.digest(candidate.path, std::nullopt, candidate.logicalSize);
    }
}

DuplicateGroup makeGroup(std::span<const DuplicateCandidate> candidates, PendingGroup found) {
    DuplicateGroup group;
    group.id = found.front()->key->hex;
    group.size = candidates[found.front()->index].size;
    std::stable_sort(found.begin(), found.end(), [&](const PendingFile* a, const PendingFile* b) {
        return candidates[a->index].modified < candidates[b->index].modified;
    });
    group.files.reserve(found.size());
    for (const PendingFile* file : found) {
        group.files.push_back(candidates[file->index].node);
    }
    return group;
}

// Narrows one group of equal length down by partial key, then by full key.
void searchSizeGroup(std::span<const DuplicateCandidate> candidates, const Members& members,
                     Hasher& hasher, std::vector<DuplicateGroup>& groups) {
    std::vector<PendingFile> files = partialKeys(candidates, members, hasher);
    PendingGroup all;
    all.reserve(files.size());
    for (PendingFile& file : files) {
        all.push_back(&file);
    }
    // Files no longer than a partial key were read to their end for it, and checked for
    // growth and change, so their partial key already is the digest of the whole content.
    const bool partialIsWhole = candidates[members.front()].logicalSize <= partialKeyBytes;
    for (const PendingGroup& partial : groupByKey(all)) {
        if (partial.size() < 2) {
            continue;
        }
        if (!partialIsWhole) {
            fullKeys(candidates, partial, hasher);
        }
        for (PendingGroup& full : groupByKey(partial)) {
            if (full.size() >= 2) {
                groups.push_back(makeGroup(candidates, std::move(full)));
            }
        }
    }
}

// Reports, every `sizeGroupsPerReport` size groups begun, the share of them begun, from
// whichever thread begins the group; one report at a time, and never one below an earlier.
class SizeGroupProgress {
public:
    SizeGroupProgress(const Progress& progress, std::size_t groups)
        : m_progress(progress)
        , m_total(static_cast<double>(std::max<std::size_t>(groups, 1))) {}

    void begun(std::size_t count) {
        if (m_progress && count % sizeGroupsPerReport == 0) {
            report(count);
        }
    }
    void finished() {
        if (m_progress) {
            const std::lock_guard guard(m_lock);
            m_progress(1.0);
        }
    }

private:
    void report(std::size_t count) {
        const std::lock_guard guard(m_lock);
        if (count > m_reported) {
            m_reported = count;
            m_progress(static_cast<double>(count) / m_total);
        }
    }

    const Progress& m_progress;
    double m_total;
    std::mutex m_lock;
    std::size_t m_reported = 0;
};

// The threads to hash with: as many as the disk of the first candidate reads well at once.
std::size_t hashingThreads(std::span<const DuplicateCandidate> candidates, std::size_t threads) {
    if (threads > 0 || candidates.empty()) {
        return std::max<std::size_t>(threads, 1);
    }
    return workerThreadsFor(candidates.front().path);
}

} // namespace

std::vector<DuplicateCandidate> snapshot(std::span<const FileNode* const> files,
                                         std::int64_t minimumSize) {
    // Lengths first, in one pass over the nodes; a length only one file has is left out
    // before anything else is copied.
    std::vector<std::pair<std::int64_t, std::size_t>> lengths;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileNode& node = *files[i];
        if (!node.deleted() && node.logicalSize() >= minimumSize) {
            lengths.emplace_back(node.logicalSize(), i);
        }
    }
    std::sort(lengths.begin(), lengths.end());
    std::vector<std::size_t> shared;
    for (std::size_t at = 0; at < lengths.size();) {
        std::size_t end = at + 1;
        while (end < lengths.size() && lengths[end].first == lengths[at].first) {
            ++end;
        }
        for (std::size_t i = at; end - at >= 2 && i < end; ++i) {
            shared.push_back(lengths[i].second);
        }
        at = end;
    }
    std::sort(shared.begin(), shared.end());
    std::vector<DuplicateCandidate> candidates;
    candidates.reserve(shared.size());
    for (const std::size_t i : shared) {
        const FileNode* node = files[i];
        candidates.push_back(DuplicateCandidate{.logicalSize = node->logicalSize(),
                                                .size = node->size(),
                                                .modified = node->modified(),
                                                .node = node});
    }
    return candidates;
}

void addPaths(std::span<DuplicateCandidate> candidates) {
    for (DuplicateCandidate& candidate : candidates) {
        candidate.path = candidate.node->path();
    }
}

// Size groups are searched on several threads, each taking the next group not yet begun
// and keeping its findings apart; joined in the order of the groups, they come out exactly
// as a search on one thread gives them. Hard links share a length, so the names of one file
// always meet in one group.
std::vector<DuplicateGroup> find(std::span<const DuplicateCandidate> candidates,
                                 std::int64_t minimumSize, const Progress& progress,
                                 std::size_t threads) {
    const std::vector<Members> bySize = sizeGroups(candidates, minimumSize);
    std::vector<std::vector<DuplicateGroup>> found(bySize.size());
    SizeGroupProgress reporter(progress, bySize.size());
    std::atomic<std::size_t> next = 0;
    const std::size_t count =
        std::min(hashingThreads(candidates, threads), std::max<std::size_t>(bySize.size(), 1));
    runOnThreads(count, [&](std::size_t) {
        Hasher hasher;
        for (std::size_t i = next++; i < bySize.size(); i = next++) {
            reporter.begun(i + 1);
            searchSizeGroup(candidates, bySize[i], hasher, found[i]);
        }
    });
    reporter.finished();
    std::vector<DuplicateGroup> groups;
    for (std::vector<DuplicateGroup>& ofSize : found) {
        std::move(ofSize.begin(), ofSize.end(), std::back_inserter(groups));
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DuplicateGroup& a, const DuplicateGroup& b) {
                         return a.reclaimable() > b.reclaimable();
                     });
    return groups;
}

std::optional<std::string> sha256Hex(const std::string& path, std::optional<std::int64_t> limit) {
    std::optional<Digest> digest = Hasher().digest(path, limit, std::nullopt);
    if (!digest) {
        return std::nullopt;
    }
    return std::move(digest->hex);
}

} // namespace dorvale::DuplicateFinder
