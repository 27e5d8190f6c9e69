#include "model/DuplicateFinder.hpp"

#include "model/FileNode.hpp"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace dorvale::DuplicateFinder {

namespace {

// Indices into the candidate list, in scan order.
using Members = std::vector<std::size_t>;

// Files that share a key, with the key.
struct KeyedMembers {
    std::string key{};
    Members members{};
};

// Owns an open file descriptor. Errors of the close are ignored: the file was only read.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Opens `path` for reading if it is a regular file, and gives its length at that moment.
// O_NONBLOCK keeps the open from waiting for a writer when the path has become a FIFO since
// the scan; a folder opens as well but fails when read. Both are turned away here.
Descriptor openRegularFile(const std::string& path, std::int64_t& length) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    Descriptor file(fd);
    struct stat info {};
    if (!file.valid() || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return Descriptor(-1);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    length = info.st_size;
    return file;
}

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

std::string toHex(const unsigned char* bytes, unsigned int count) {
    static constexpr std::string_view digits = "0123456789abcdef";
    std::string text(2 * std::size_t{count}, '\0');
    for (unsigned int i = 0; i < count; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0x0f];
    }
    return text;
}

// One SHA-256 computation and one bounded read buffer, reused for every file of a search.
class Hasher {
public:
    Hasher()
        : m_buffer(std::make_unique_for_overwrite<std::byte[]>(readChunkBytes))
        , m_context(EVP_MD_CTX_new(), &EVP_MD_CTX_free) {}

    // The digest of the first `limit` bytes (without a limit, the whole file). When
    // `expectedLength` is given, a file of another length gives none: it is no longer the
    // file that was scanned.
    std::optional<std::string> digest(const std::string& path, std::optional<std::int64_t> limit,
                                      std::optional<std::int64_t> expectedLength);

private:
    bool feed(int fd, std::int64_t bytes);
    bool atEnd(int fd);

    std::unique_ptr<std::byte[]> m_buffer;
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> m_context;
};

std::optional<std::string> Hasher::digest(const std::string& path,
                                          std::optional<std::int64_t> limit,
                                          std::optional<std::int64_t> expectedLength) {
    std::int64_t length = 0;
    const Descriptor file = openRegularFile(path, length);
    if (!file.valid() || (expectedLength && *expectedLength != length) || !m_context ||
        EVP_DigestInit_ex(m_context.get(), sha256Algorithm(), nullptr) != 1) {
        return std::nullopt;
    }
    // Reading stops at the length the file had when it was opened, so a file that keeps
    // growing cannot hold the search; the check for more bytes afterwards turns it away.
    const std::int64_t wanted = limit ? std::clamp<std::int64_t>(*limit, 0, length) : length;
    if (wanted > readChunkBytes) {
        ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    if (!feed(file.get(), wanted) || (!limit && !atEnd(file.get()))) {
        return std::nullopt;
    }
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int count = 0;
    if (EVP_DigestFinal_ex(m_context.get(), bytes, &count) != 1) {
        return std::nullopt;
    }
    return toHex(bytes, count);
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

// Groups `members` by their digest, in order of first appearance and keeping scan order
// inside each group. A file without a digest matches nothing and is left out.
std::vector<KeyedMembers> groupByDigest(std::span<const DuplicateCandidate> candidates,
                                        const Members& members, Hasher& hasher,
                                        std::optional<std::int64_t> limit) {
    std::vector<KeyedMembers> groups;
    std::unordered_map<std::string, std::size_t> slots;
    for (const std::size_t index : members) {
        const DuplicateCandidate& file = candidates[index];
        std::optional<std::string> key = hasher.digest(file.path, limit, file.logicalSize);
        if (!key) {
            continue;
        }
        const auto [slot, added] = slots.try_emplace(*key, groups.size());
        if (added) {
            groups.push_back(KeyedMembers{std::move(*key), {}});
        }
        groups[slot->second].members.push_back(index);
    }
    return groups;
}

DuplicateGroup makeGroup(std::span<const DuplicateCandidate> candidates, KeyedMembers&& found) {
    DuplicateGroup group;
    group.id = std::move(found.key);
    group.size = candidates[found.members.front()].size;
    std::stable_sort(found.members.begin(), found.members.end(), [&](std::size_t a, std::size_t b) {
        return candidates[a].modified < candidates[b].modified;
    });
    group.files.reserve(found.members.size());
    for (const std::size_t index : found.members) {
        group.files.push_back(candidates[index].node);
    }
    return group;
}

// Narrows one group of equal length down by partial key, then by full key.
void searchSizeGroup(std::span<const DuplicateCandidate> candidates, const Members& members,
                     Hasher& hasher, std::vector<DuplicateGroup>& groups) {
    for (const KeyedMembers& partial :
         groupByDigest(candidates, members, hasher, partialKeyBytes)) {
        if (partial.members.size() < 2) {
            continue;
        }
        for (KeyedMembers& full : groupByDigest(candidates, partial.members, hasher, {})) {
            if (full.members.size() >= 2) {
                groups.push_back(makeGroup(candidates, std::move(full)));
            }
        }
    }
}

void report(const Progress& progress, double fraction) {
    if (progress) {
        progress(fraction);
    }
}

} // namespace

std::vector<DuplicateCandidate> snapshot(std::span<FileNode* const> files) {
    std::vector<DuplicateCandidate> candidates;
    candidates.reserve(files.size());
    for (FileNode* node : files) {
        candidates.push_back(DuplicateCandidate{.path = node->path(),
                                                .logicalSize = node->logicalSize(),
                                                .size = node->size(),
                                                .modified = node->modified(),
                                                .deleted = node->deleted(),
                                                .node = node});
    }
    return candidates;
}

std::vector<DuplicateGroup> find(std::span<const DuplicateCandidate> candidates,
                                 std::int64_t minimumSize, const Progress& progress) {
    const std::vector<Members> bySize = sizeGroups(candidates, minimumSize);
    const double total = static_cast<double>(std::max<std::size_t>(bySize.size(), 1));
    Hasher hasher;
    std::vector<DuplicateGroup> groups;
    std::size_t done = 0;
    for (const Members& members : bySize) {
        ++done;
        if (done % sizeGroupsPerReport == 0) {
            report(progress, static_cast<double>(done) / total);
        }
        searchSizeGroup(candidates, members, hasher, groups);
    }
    report(progress, 1.0);
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DuplicateGroup& a, const DuplicateGroup& b) {
                         return a.reclaimable() > b.reclaimable();
                     });
    return groups;
}

std::optional<std::string> sha256Hex(const std::string& path, std::optional<std::int64_t> limit) {
    Hasher hasher;
    return hasher.digest(path, limit, std::nullopt);
}

} // namespace dorvale::DuplicateFinder
