#include "model/Scanner.hpp"

#include "model/DisplayPath.hpp"
#include "model/FolderNames.hpp"

#include <fts.h>
#include <sys/stat.h>

#include <array>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

namespace dorvale {

namespace {

// A physical walk that never changes the working directory and stays on the root's file
// system: the scanner may run beside other threads, and other volumes are not ours to count.
constexpr int walkOptions = FTS_PHYSICAL | FTS_NOCHDIR | FTS_XDEV;

// Files allocated below this get no node of their own; only their folder counts them.
constexpr std::int64_t nodeThreshold = 512 * 1024;

// The clock is read only when the file count reaches a multiple of this, and a report goes
// out only when more than `reportInterval` seconds have passed since the last one.
constexpr std::int64_t filesPerClockRead = 1024;
constexpr double reportInterval = 0.08;

constexpr std::size_t reservedFileNodes = 50'000;

// Marks left in `fts_number` for the way back up: a folder that got a node and was pushed,
// and a folder that was skipped as excluded.
constexpr long pushedMark = 1;
constexpr long excludedMark = 2;

struct WalkerCloser {
    void operator()(FTS* walker) const { fts_close(walker); }
};
using Walker = std::unique_ptr<FTS, WalkerCloser>;

// Opens the walker on a single path. A path holding a NUL byte cannot name anything on
// disk (the system would see a shorter path), so it is refused rather than truncated.
Walker openWalker(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        return nullptr;
    }
    std::string copy = path;
    char* const paths[] = {copy.data(), nullptr};
    return Walker(fts_open(paths, walkOptions, nullptr));
}

std::int64_t allocatedBytes(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_blocks) * 512;
}

double wholeSeconds(const timespec& time) {
    return static_cast<double>(time.tv_sec);
}

// Remembers the regular files with more than one link, so each is counted once. Files with a
// single link cost nothing.
class HardLinks {
public:
    /// Whether `entry` is another link to a file already met.
    [[nodiscard]] bool isRepeat(const FTSENT& entry) {
        const struct stat& info = *entry.fts_statp;
        if (entry.fts_info != FTS_F || info.st_nlink < 2) {
            return false;
        }
        // The walk stays on one device, so for all the files it meets the key is unique.
        const auto key = static_cast<std::uint64_t>(info.st_ino) ^
                         (static_cast<std::uint64_t>(info.st_dev) << 48);
        return !m_seen.insert(key).second;
    }

private:
    std::unordered_set<std::uint64_t> m_seen;
};

// Remembers the kinds of the extensions met so far, so most files skip the extension table.
// A name's kind depends only on the bytes after its last dot (when that dot is not the first
// byte). Extensions of up to eight bytes are kept, packed into one word: names hold no NUL
// byte, so the packing is unique and no extension packs to zero, the mark of an empty slot.
class KindCache {
public:
    [[nodiscard]] FileKind kindOf(std::string_view name) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string_view::npos || dot == 0) {
            return FileKind::Other;
        }
        const std::string_view extension = name.substr(dot + 1);
        if (extension.empty() || extension.size() > sizeof(std::uint64_t)) {
            return fileKindForName(name);
        }
        std::uint64_t key = 0;
        std::memcpy(&key, extension.data(), extension.size());
        Slot& slot = m_slots[(key * 0x9E37'79B9'7F4A'7C15) >> (64 - slotBits)];
        if (slot.key != key) {
            slot.key = key;
            slot.kind = fileKindForName(name);
        }
        return slot.kind;
    }

private:
    static constexpr int slotBits = 8;

    struct Slot {
        std::uint64_t key = 0;
        FileKind kind = FileKind::Other;
    };

    std::array<Slot, std::size_t{1} << slotBits> m_slots{};
};

std::string_view entryPath(const FTSENT& entry) {
    return {entry.fts_path, entry.fts_pathlen};
}

std::string_view entryName(const FTSENT& entry) {
    return {entry.fts_name, entry.fts_namelen};
}

} // namespace

/// The state of one `scan`: the open folders, the counters and the result being built.
class Scanner::Walk {
public:
    Walk(const Scanner& scanner, const std::string& rootPath, const Exclusions& exclusions,
         const Progress& progress);

    [[nodiscard]] std::optional<ScanResult> run(FTS& walker);

private:
    enum class Outcome { Handled, Skipped, Cancelled };

    // An open folder and the child nodes met in it so far. Frames are kept per depth and
    // reused, so their child vectors stop growing once the walk has seen a wide folder.
    struct Frame {
        FileNode* node = nullptr;
        // The head of the folder's matching path, pointing into the names in the arena.
        PathComponents components{};
        std::vector<FileNode*> children{};
    };

    Outcome handle(FTS& walker, FTSENT& entry);
    Outcome enterFolder(FTS& walker, FTSENT& entry);
    Outcome leaveFolder(FTSENT& entry);
    Outcome countFile(FTSENT& entry);
    Outcome recordUnreadable(FTSENT& entry);

    [[nodiscard]] PathComponents componentsOf(const FTSENT& entry) const;
    [[nodiscard]] FileNode* makeFolder(const FTSENT& entry, const PathComponents& components);
    [[nodiscard]] FileNode* makeFile(const FTSENT& entry, FileKind kind, StorageBucket bucket);
    void addUnreadablePlaceholder(const FTSENT& entry);
    void push(FileNode* folder, const PathComponents& components);
    FileNode* pop();
    [[nodiscard]] Frame* openFrame();

    void addToBucket(StorageBucket bucket, std::int64_t bytes);
    void reportProgress(const FTSENT& entry);
    [[nodiscard]] ScanResult finish();

    const Scanner& m_scanner;
    const Exclusions& m_exclusions;
    const Progress& m_progress;
    ScanResult m_result;
    std::vector<Frame> m_frames;
    std::size_t m_depth = 0;
    HardLinks m_hardLinks;
    KindCache m_kinds;
    std::array<std::int64_t, allStorageBuckets.size()> m_bucketBytes{};
    std::array<bool, allStorageBuckets.size()> m_bucketUsed{};
    std::array<std::int64_t, allFileKinds.size()> m_kindBytes{};
    std::array<std::int64_t, allFileKinds.size()> m_kindFiles{};
    std::int64_t m_countedBytes = 0;
    Timestamp m_start = 0;
    Timestamp m_lastReport = 0;
};

Scanner::Walk::Walk(const Scanner& scanner, const std::string& rootPath,
                    const Exclusions& exclusions, const Progress& progress)
    : m_scanner(scanner)
    , m_exclusions(exclusions)
    , m_progress(progress)
    , m_start(scanner.m_clock.now())
    , m_lastReport(m_start) {
    m_result.rootPath = rootPath;
    m_result.files.reserve(reservedFileNodes);
}

std::optional<ScanResult> Scanner::Walk::run(FTS& walker) {
    while (FTSENT* entry = fts_read(&walker)) {
        if (entry->fts_path == nullptr) {
            continue;
        }
        const Outcome outcome = handle(walker, *entry);
        if (outcome == Outcome::Cancelled) {
            return std::nullopt;
        }
        if (outcome == Outcome::Handled) {
            reportProgress(*entry);
        }
    }
    // No root means the root was not a folder. Folders still open mean the walker gave up
    // half-way; their figures never reached their parents, so the tree would be wrong.
    if (m_result.root == nullptr || m_depth != 0) {
        return std::nullopt;
    }
    return finish();
}

Scanner::Walk::Outcome Scanner::Walk::handle(FTS& walker, FTSENT& entry) {
    switch (entry.fts_info) {
    case FTS_D:
        return enterFolder(walker, entry);
    case FTS_DP:
        return leaveFolder(entry);
    case FTS_F:
    case FTS_DEFAULT:
    case FTS_SL:
    case FTS_SLNONE:
        return countFile(entry);
    case FTS_DNR:
    case FTS_NS:
    case FTS_ERR:
        return recordUnreadable(entry);
    default:
        return Outcome::Skipped;
    }
}

Scanner::Walk::Outcome Scanner::Walk::enterFolder(FTS& walker, FTSENT& entry) {
    if (m_scanner.isCancelled()) {
        return Outcome::Cancelled;
    }
    const std::string_view matching = matchingPath(entryPath(entry), m_scanner.m_dataVolume);
    const bool isRoot = m_result.root == nullptr;
    if (!isRoot && !m_exclusions.empty() && m_exclusions.contains(matching)) {
        entry.fts_number = excludedMark;
        fts_set(&walker, &entry, FTS_SKIP);
        return Outcome::Skipped;
    }
    PathComponents components = componentsOf(entry);
    FileNode* folder = makeFolder(entry, components);
    if (isRoot) {
        m_result.root = folder;
    } else {
        openFrame()->children.push_back(folder);
        // The entry's name lives in the walker's buffers; the node's copy stays.
        for (std::string_view& component : components.head) {
            if (component.data() == entry.fts_name) {
                component = folder->name();
            }
        }
    }
    entry.fts_number = pushedMark;
    push(folder, components);
    ++m_result.totalDirectories;
    addToBucket(folder->bucket(), folder->size());
    return Outcome::Handled;
}

// The components of the entry's matching path, built from its parent's rather than by
// splitting the whole path again: below the root a folder's matching path is its parent's
// plus its own name, except for the data volume itself, whose matching path is "/".
PathComponents Scanner::Walk::componentsOf(const FTSENT& entry) const {
    const std::string_view dataVolume = m_scanner.m_dataVolume;
    if (m_depth == 0) {
        return PathComponents::of(matchingPath(m_result.rootPath, dataVolume));
    }
    if (entryPath(entry) == dataVolume) {
        return {};
    }
    PathComponents components = m_frames[m_depth - 1].components;
    if (components.count < components.head.size()) {
        components.head[components.count] = entryName(entry);
    }
    ++components.count;
    return components;
}

FileNode* Scanner::Walk::makeFolder(const FTSENT& entry, const PathComponents& components) {
    const Frame* parent = openFrame();
    const std::string_view name = parent == nullptr ? m_result.rootPath : entryName(entry);
    std::optional<StorageBucket> inherited;
    if (parent != nullptr && parent->node->bucket() != StorageBucket::Other) {
        inherited = parent->node->bucket();
    }
    const struct stat& info = *entry.fts_statp;
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.isPackage = isPackageName(name);
    attributes.kind = name.ends_with(".app") ? FileKind::Application : FileKind::Other;
    attributes.bucket = classify(components, name, inherited).value_or(StorageBucket::Other);
    attributes.size = allocatedBytes(info);
    attributes.modified = wholeSeconds(info.st_mtim);
    attributes.accessed = wholeSeconds(info.st_atim);
    return m_result.nodes->make(name, parent == nullptr ? nullptr : parent->node, attributes);
}

Scanner::Walk::Outcome Scanner::Walk::leaveFolder(FTSENT& entry) {
    if (entry.fts_number != pushedMark) {
        return Outcome::Skipped;
    }
    entry.fts_number = 0;
    pop();
    return Outcome::Handled;
}

Scanner::Walk::Outcome Scanner::Walk::countFile(FTSENT& entry) {
    Frame* frame = openFrame();
    if (frame == nullptr) {
        return Outcome::Skipped;
    }
    if (m_hardLinks.isRepeat(entry)) {
        ++m_result.hardLinksSkipped;
        return Outcome::Skipped;
    }
    FileNode& folder = *frame->node;
    const FileKind kind = m_kinds.kindOf(entryName(entry));
    const StorageBucket bucket =
        folder.bucket() == StorageBucket::Other ? defaultForKind(kind) : folder.bucket();
    const std::int64_t size = allocatedBytes(*entry.fts_statp);
    m_result.nodes->addFile(folder, size, entry.fts_statp->st_size);
    ++m_result.totalFiles;
    addToBucket(bucket, size);
    m_kindBytes[static_cast<std::size_t>(kind)] += size;
    ++m_kindFiles[static_cast<std::size_t>(kind)];
    if (size < nodeThreshold) {
        m_result.nodes->addSmallFile(folder, size);
    } else {
        FileNode* file = makeFile(entry, kind, bucket);
        frame->children.push_back(file);
        m_result.files.push_back(file);
    }
    m_countedBytes += size;
    return Outcome::Handled;
}

FileNode* Scanner::Walk::makeFile(const FTSENT& entry, FileKind kind, StorageBucket bucket) {
    const struct stat& info = *entry.fts_statp;
    FileNode::Attributes attributes;
    attributes.kind = kind;
    attributes.bucket = bucket;
    attributes.size = allocatedBytes(info);
    attributes.logicalSize = info.st_size;
    attributes.fileCount = 1;
    attributes.modified = wholeSeconds(info.st_mtim);
    attributes.accessed = wholeSeconds(info.st_atim);
    return m_result.nodes->make(entryName(entry), openFrame()->node, attributes);
}

Scanner::Walk::Outcome Scanner::Walk::recordUnreadable(FTSENT& entry) {
    ++m_result.unreadableDirectories;
    if (entry.fts_number == pushedMark) {
        // Entered, then found unlistable: keep it with what it holds so far (its own blocks).
        entry.fts_number = 0;
        m_result.nodes->markUnreadable(*pop());
    } else if (entry.fts_info == FTS_DNR && openFrame() != nullptr) {
        addUnreadablePlaceholder(entry);
    }
    return Outcome::Handled;
}

void Scanner::Walk::addUnreadablePlaceholder(const FTSENT& entry) {
    Frame& frame = *openFrame();
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.bucket = frame.node->bucket();
    FileNode* placeholder = m_result.nodes->make(entryName(entry), frame.node, attributes);
    m_result.nodes->markUnreadable(*placeholder);
    frame.children.push_back(placeholder);
}

void Scanner::Walk::push(FileNode* folder, const PathComponents& components) {
    if (m_depth == m_frames.size()) {
        m_frames.emplace_back();
    }
    m_frames[m_depth].node = folder;
    m_frames[m_depth].components = components;
    ++m_depth;
}

// Closes the innermost open folder: its child list goes into the arena and its figures into
// its parent's.
FileNode* Scanner::Walk::pop() {
    Frame& frame = m_frames[--m_depth];
    m_result.nodes->setChildren(*frame.node, frame.children);
    frame.children.clear();
    if (Frame* parent = openFrame()) {
        m_result.nodes->addContents(*parent->node, *frame.node);
    }
    return frame.node;
}

Scanner::Walk::Frame* Scanner::Walk::openFrame() {
    return m_depth == 0 ? nullptr : &m_frames[m_depth - 1];
}

void Scanner::Walk::addToBucket(StorageBucket bucket, std::int64_t bytes) {
    const auto index = static_cast<std::size_t>(bucket);
    m_bucketBytes[index] += bytes;
    m_bucketUsed[index] = true;
}

void Scanner::Walk::reportProgress(const FTSENT& entry) {
    if (!m_progress || m_result.totalFiles % filesPerClockRead != 0) {
        return;
    }
    const Timestamp now = m_scanner.m_clock.now();
    if (now - m_lastReport <= reportInterval) {
        return;
    }
    m_lastReport = now;
    m_progress(ScanProgressSnapshot{
        .files = m_result.totalFiles,
        .bytes = m_countedBytes,
        .currentPath = std::string(matchingPath(entryPath(entry), m_scanner.m_dataVolume)),
    });
}

ScanResult Scanner::Walk::finish() {
    const Timestamp end = m_scanner.m_clock.now();
    m_result.duration = end - m_start;
    m_result.finishedAt = end;
    for (const StorageBucket bucket : allStorageBuckets) {
        const auto index = static_cast<std::size_t>(bucket);
        if (m_bucketUsed[index]) {
            m_result.bucketTotals.emplace(bucket, m_bucketBytes[index]);
        }
    }
    for (const FileKind kind : allFileKinds) {
        const auto index = static_cast<std::size_t>(kind);
        if (m_kindFiles[index] > 0) {
            m_result.kindTotals.emplace(kind, m_kindBytes[index]);
            m_result.kindCounts.emplace(kind, m_kindFiles[index]);
        }
    }
    return std::move(m_result);
}

Scanner::Scanner(const Locations& locations, const Clock& clock)
    : m_dataVolume(locations.dataVolume)
    , m_clock(clock) {}

void Scanner::cancel() {
    const std::lock_guard guard(m_lock);
    m_cancelled = true;
}

bool Scanner::isCancelled() const {
    const std::lock_guard guard(m_lock);
    return m_cancelled;
}

std::optional<ScanResult> Scanner::scan(const std::string& rootPath, const Exclusions& exclusions,
                                        const Progress& progress) {
    Walk walk(*this, rootPath, exclusions, progress);
    const Walker walker = openWalker(rootPath);
    if (walker == nullptr) {
        return std::nullopt;
    }
    return walk.run(*walker);
}

DirectorySize Scanner::directorySize(const std::string& path) {
    const Walker walker = openWalker(path);
    if (walker == nullptr) {
        return {};
    }
    DirectorySize total;
    HardLinks hardLinks;
    while (const FTSENT* entry = fts_read(walker.get())) {
        const int info = entry->fts_info;
        // Folders only on the way down, so each counts once; entries that could not be read
        // or examined are left out.
        if (info != FTS_D && info != FTS_F && info != FTS_DEFAULT && info != FTS_SL) {
            continue;
        }
        if (hardLinks.isRepeat(*entry)) {
            continue;
        }
        total.bytes += allocatedBytes(*entry->fts_statp);
        if (info != FTS_D) {
            ++total.count;
        }
    }
    return total;
}

} // namespace dorvale
