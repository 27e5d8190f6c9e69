#include "model/Scanner.hpp"

#include "model/DisplayPath.hpp"
#include "model/FolderNames.hpp"
#include "platform/Descriptor.hpp"
#include "platform/Paths.hpp"
#include "platform/WorkQueue.hpp"
#include "platform/WorkerThreads.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace dorvale {

namespace {

// Folders are opened relative to their parent and never through a link, and the working
// folder is never changed: other threads run beside the walk.
constexpr int folderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Entries are examined where they are: a link is not followed and a mount point waiting to
// be mounted on first use is looked at, not mounted.
constexpr int examineFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

// The walk keeps at most this many folders open. Deeper down it closes the outermost ones
// and takes them back on the way up, so a tree of any depth is walked with a few descriptors
// and the rest of the program keeps its own.
constexpr std::size_t maxOpenFolders = 64;

// One read of a folder's entries fills up to this many bytes.
constexpr std::size_t listingBufferSize = 64 * 1024;

// Files allocated below this get no node of their own; only their folder counts them.
constexpr std::int64_t nodeThreshold = 512 * 1024;

// The clock is read only when the file count reaches a multiple of this, and a report goes
// out only when more than `reportInterval` seconds have passed since the last one.
constexpr std::int64_t filesPerClockRead = 1024;
constexpr double reportInterval = 0.08;

constexpr std::size_t reservedFileNodes = 50'000;

enum class EntryKind : std::uint8_t { Folder, File, Link, Other, Unexaminable };

// One entry of a folder as it was when the folder was listed.
struct Entry {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    /// Bytes allocated on disk.
    std::int64_t allocated = 0;
    std::int64_t length = 0;
    /// Whole seconds since 1970.
    std::int64_t modified = 0;
    std::int64_t accessed = 0;
    /// Where the entry's name starts in its folder's name buffer, and its length.
    std::uint32_t nameOffset = 0;
    std::uint32_t nameLength = 0;
    EntryKind kind = EntryKind::Unexaminable;
    /// A regular file with more than one link.
    bool hasOtherLinks = false;
};

EntryKind kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return EntryKind::Folder;
    }
    if (S_ISREG(mode)) {
        return EntryKind::File;
    }
    return S_ISLNK(mode) ? EntryKind::Link : EntryKind::Other;
}

Entry entryOf(const struct stat& info) {
    Entry entry;
    entry.device = info.st_dev;
    entry.inode = info.st_ino;
    entry.allocated = static_cast<std::int64_t>(info.st_blocks) * 512;
    entry.length = info.st_size;
    entry.modified = info.st_mtim.tv_sec;
    entry.accessed = info.st_atim.tv_sec;
    entry.kind = kindOf(info.st_mode);
    entry.hasOtherLinks = entry.kind == EntryKind::File && info.st_nlink >= 2;
    return entry;
}

// The entry `name` of an open folder; an entry that cannot be examined comes back as such.
Entry examineAt(int folder, const char* name) {
    struct stat info {};
    if (fstatat(folder, name, &info, examineFlags) != 0) {
        return {};
    }
    return entryOf(info);
}

// Adds "/" and `name` to a folder's path, without doubling a slash that ends the root as
// given.
void appendName(std::string& path, std::string_view name) {
    if (!path.ends_with('/')) {
        path += '/';
    }
    path += name;
}

// Remembers the regular files with more than one link, so each is counted once. Files with a
// single link cost nothing.
class HardLinks {
public:
    /// Whether `entry` is another link to a file already met.
    [[nodiscard]] bool isRepeat(const Entry& entry) {
        if (!entry.hasOtherLinks) {
            return false;
        }
        // The walk stays on one device, so for all the files it meets the key is unique.
        return !m_seen.insert(entry.inode ^ (entry.device << 48)).second;
    }

private:
    std::unordered_set<std::uint64_t> m_seen;
};

// Remembers the kinds of the extensions met so far, so most files skip the extension table.
// A name's kind depends only on its extension. Extensions of up to eight bytes are kept, packed
// into one word: names hold no NUL byte, so the packing is unique and no extension packs to zero,
// the mark of an empty slot.
class KindCache {
public:
    [[nodiscard]] FileKind kindOf(std::string_view name) {
        const std::string_view extension = nameExtension(name);
        if (extension.empty()) {
            return FileKind::Other;
        }
        if (extension.size() > sizeof(std::uint64_t)) {
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

// A depth-first walk of a folder tree through open folder descriptors. A folder is listed
// whole when it is entered, each entry examined relative to it, and its entries are then
// visited in the file system's own order, each sub-folder's contents right after it. Links
// are never followed; a folder on another device is visited but not entered. The paths are
// kept for the visitor only: no system call takes one below the root, so paths may grow
// past PATH_MAX.
//
// The visitor answers:
//   Step admit(std::string_view path): before a folder is opened;
//   void enterFolder(const Entry&, std::string_view name): once the folder is listed;
//   void leaveFolder(bool complete): after its contents; `complete` is false when it could
//       not be opened or read to the end;
//   void file(const Entry&, std::string_view name): for any other entry;
//   void unexaminable(std::string_view name): for an entry that could not be examined;
//   bool handOff(const Entry&, std::string_view name, Descriptor& opened): once a sub-folder
//       is admitted and opened; true when the visitor took the open folder to be walked
//       elsewhere, and the walk goes on with the next entry.
class FolderWalk {
public:
    enum class Step { Descend, Skip, Stop };

    /// Walks `root`, which the visitor gets as a folder or, when it is anything else, as a
    /// file. False when the visitor stopped the walk or `root` could not be examined.
    template <class Visitor>
    bool run(const std::string& root, Visitor& visitor);
    /// Walks the contents of a folder already admitted, opened and entered elsewhere, found
    /// at `path` in a walk of the device `device`; the visitor is told nothing of the folder
    /// until it leaves it.
    template <class Visitor>
    bool runBelow(const Entry& folder, Descriptor opened, std::string path, std::uint64_t device,
                  Visitor& visitor);

    /// The path of the folder being visited (the folder itself in `enterFolder` and
    /// `leaveFolder`).
    [[nodiscard]] std::string_view path() const { return m_path; }
    /// The path of the entry `name` of that folder.
    [[nodiscard]] std::string pathOf(std::string_view name) const;

private:
    // An open folder: its listing, the next entry to visit, and its descriptor, closed while
    // the walk is far beneath it.
    struct Level {
        Descriptor folder;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::vector<Entry> entries;
        std::vector<char> names;
        std::size_t next = 0;
        // The length of the walk's path without this folder's name.
        std::size_t pathLength = 0;
        bool complete = false;

        [[nodiscard]] std::string_view nameOf(const Entry& entry) const {
            return {names.data() + entry.nameOffset, entry.nameLength};
        }
    };

    template <class Visitor>
    bool visitAll(Visitor& visitor);
    template <class Visitor>
    bool visitNext(Visitor& visitor);
    template <class Visitor>
    bool enter(const Entry& folder, std::string_view name, Descriptor opened, Visitor& visitor);
    template <class Visitor>
    static void visitEntry(const Entry& entry, std::string_view name, Visitor& visitor);

    [[nodiscard]] std::optional<Entry> examineRoot(const std::string& root, Descriptor& opened);
    [[nodiscard]] Descriptor openBelow(const char* name, int& error);
    [[nodiscard]] bool releaseOutermost(std::size_t below);
    Level& push(const Entry& folder, std::size_t pathLength, Descriptor opened);
    [[nodiscard]] bool list(Level& level);
    void add(Level& level, const char* name);
    void leave();
    void reopenParent(Level& parent, const Level& child);

    std::deque<Level> m_levels;
    std::size_t m_depth = 0;
    std::size_t m_openCount = 0;
    // The levels before this one, nearer the root, are all closed.
    std::size_t m_firstOpen = 0;
    std::uint64_t m_device = 0;
    std::string m_path;
    std::unique_ptr<std::byte[]> m_buffer = std::make_unique<std::byte[]>(listingBufferSize);
};

template <class Visitor>
bool FolderWalk::run(const std::string& root, Visitor& visitor) {
    Descriptor opened;
    const std::optional<Entry> top = examineRoot(root, opened);
    if (!top) {
        return false;
    }
    m_path = root;
    m_device = top->device;
    if (top->kind != EntryKind::Folder) {
        visitor.file(*top, root);
        return true;
    }
    return enter(*top, root, std::move(opened), visitor) && visitAll(visitor);
}

template <class Visitor>
bool FolderWalk::runBelow(const Entry& folder, Descriptor opened, std::string path,
                          std::uint64_t device, Visitor& visitor) {
    m_path = std::move(path);
    m_device = device;
    Level& level = push(folder, m_path.size(), std::move(opened));
    level.complete = list(level);
    return visitAll(visitor);
}

template <class Visitor>
bool FolderWalk::visitAll(Visitor& visitor) {
    while (m_depth > 0) {
        if (!visitNext(visitor)) {
            return false;
        }
    }
    return true;
}

template <class Visitor>
bool FolderWalk::visitNext(Visitor& visitor) {
    Level& level = m_levels[m_depth - 1];
    if (level.next == level.entries.size()) {
        visitor.leaveFolder(level.complete);
        leave();
        return true;
    }
    const Entry& entry = level.entries[level.next++];
    const std::string_view name = level.nameOf(entry);
    if (entry.kind == EntryKind::Folder) {
        return enter(entry, name, Descriptor(), visitor);
    }
    visitEntry(entry, name, visitor);
    return true;
}

template <class Visitor>
bool FolderWalk::enter(const Entry& folder, std::string_view name, Descriptor opened,
                       Visitor& visitor) {
    const bool isRoot = m_depth == 0;
    const std::size_t pathLength = m_path.size();
    if (!isRoot) {
        appendName(m_path, name);
    }
    const Step step = visitor.admit(m_path);
    if (step != Step::Descend) {
        m_path.resize(pathLength);
        return step == Step::Skip;
    }
    if (folder.device != m_device) {
        // On another volume: shown with its own blocks, never entered.
        visitor.enterFolder(folder, name);
        visitor.leaveFolder(true);
        m_path.resize(pathLength);
        return true;
    }
    if (!isRoot) {
        int error = 0;
        opened = openBelow(name.data(), error);
        if (!opened.valid() && (error == ELOOP || error == ENOTDIR)) {
            // No longer a folder since the listing (a link, say): count what is there now.
            const Entry now = examineAt(m_levels[m_depth - 1].folder.get(), name.data());
            if (now.kind != EntryKind::Folder) {
                m_path.resize(pathLength);
                visitEntry(now, name, visitor);
                return true;
            }
        }
        if (opened.valid() && visitor.handOff(folder, name, opened)) {
            m_path.resize(pathLength);
            return true;
        }
    }
    Level& level = push(folder, pathLength, std::move(opened));
    level.complete = level.folder.valid() && list(level);
    visitor.enterFolder(folder, name);
    return true;
}

template <class Visitor>
void FolderWalk::visitEntry(const Entry& entry, std::string_view name, Visitor& visitor) {
    if (entry.kind == EntryKind::Unexaminable) {
        visitor.unexaminable(name);
    } else {
        visitor.file(entry, name);
    }
}

// A path holding a NUL byte cannot name anything on disk (the system would see a shorter
// path), so it is refused rather than cut short.
std::optional<Entry> FolderWalk::examineRoot(const std::string& root, Descriptor& opened) {
    if (root.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    opened = Descriptor(open(root.c_str(), folderOpenFlags));
    struct stat info {};
    const int status = opened.valid() ? fstat(opened.get(), &info)
                                      : fstatat(AT_FDCWD, root.c_str(), &info, examineFlags);
    if (status != 0) {
        return std::nullopt;
    }
    return entryOf(info);
}

std::string FolderWalk::pathOf(std::string_view name) const {
    std::string path = m_path;
    appendName(path, name);
    return path;
}

// Opens the sub-folder `name` of the innermost folder. When the walk holds too many
// descriptors, or the process has none left, the outermost folders give theirs up first.
Descriptor FolderWalk::openBelow(const char* name, int& error) {
    const std::size_t parent = m_depth - 1;
    if (m_openCount >= maxOpenFolders) {
        static_cast<void>(releaseOutermost(parent));
    }
    while (true) {
        const int fd = openat(m_levels[parent].folder.get(), name, folderOpenFlags);
        if (fd >= 0) {
            return Descriptor(fd);
        }
        error = errno;
        if ((error != EMFILE && error != ENFILE) || !releaseOutermost(parent)) {
            return {};
        }
    }
}

// Closes the outermost open folder above level `below`; false when there is none.
bool FolderWalk::releaseOutermost(std::size_t below) {
    while (m_firstOpen < below) {
        Level& level = m_levels[m_firstOpen++];
        if (level.folder.valid()) {
            static_cast<void>(level.folder.close());
            --m_openCount;
            return true;
        }
    }
    return false;
}

FolderWalk::Level& FolderWalk::push(const Entry& folder, std::size_t pathLength,
                                    Descriptor opened) {
    if (m_depth == m_levels.size()) {
        m_levels.emplace_back();
    }
    Level& level = m_levels[m_depth];
    if (opened.valid()) {
        ++m_openCount;
        m_firstOpen = std::min(m_firstOpen, m_depth);
    }
    ++m_depth;
    level.folder = std::move(opened);
    level.device = folder.device;
    level.inode = folder.inode;
    level.entries.clear();
    level.names.clear();
    level.next = 0;
    level.pathLength = pathLength;
    return level;
}

// Reads the folder's entries and examines each; false when the reading failed part-way, in
// which case the entries read so far stay.
bool FolderWalk::list(Level& level) {
    while (true) {
        const ssize_t filled = getdents64(level.folder.get(), m_buffer.get(), listingBufferSize);
        if (filled <= 0) {
            return filled == 0;
        }
        for (std::size_t offset = 0; offset < static_cast<std::size_t>(filled);) {
            const std::byte* record = m_buffer.get() + offset;
            unsigned short length = 0;
            std::memcpy(&length, record + offsetof(dirent64, d_reclen), sizeof length);
            offset += length;
            const auto* name = reinterpret_cast<const char*>(record + offsetof(dirent64, d_name));
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
                add(level, name);
            }
        }
    }
}

void FolderWalk::add(Level& level, const char* name) {
    Entry entry = examineAt(level.folder.get(), name);
    const std::size_t length = std::strlen(name);
    entry.nameOffset = static_cast<std::uint32_t>(level.names.size());
    entry.nameLength = static_cast<std::uint32_t>(length);
    // Kept with its terminating NUL, so the name can be handed to the system as it is.
    level.names.insert(level.names.end(), name, name + length + 1);
    level.entries.push_back(entry);
}

void FolderWalk::leave() {
    Level& level = m_levels[--m_depth];
    // Each folder given up is taken back from its child, even with nothing left to open in
    // it: its own parent can be taken back only through it.
    if (m_depth > 0 && !m_levels[m_depth - 1].folder.valid()) {
        reopenParent(m_levels[m_depth - 1], level);
    }
    if (level.folder.valid()) {
        static_cast<void>(level.folder.close());
        --m_openCount;
    }
    m_path.resize(level.pathLength);
}

// Takes back a folder whose descriptor was given up, through the ".." of the child being
// left, and only when it is still the same folder; otherwise its remaining sub-folders
// cannot be opened and are counted as unreadable.
void FolderWalk::reopenParent(Level& parent, const Level& child) {
    if (!child.folder.valid()) {
        return;
    }
    Descriptor reopened(openat(child.folder.get(), "..", folderOpenFlags));
    struct stat info {};
    if (!reopened.valid() || fstat(reopened.get(), &info) != 0 || info.st_dev != parent.device ||
        info.st_ino != parent.inode) {
        return;
    }
    parent.folder = std::move(reopened);
    ++m_openCount;
    m_firstOpen = std::min(m_firstOpen, m_depth - 1);
}

// Adds up what `directorySize` measures: every folder once, every other entry that could be
// examined, each hard-linked file once.
class SizeTally {
public:
    [[nodiscard]] static FolderWalk::Step admit(std::string_view /*path*/) {
        return FolderWalk::Step::Descend;
    }
    void enterFolder(const Entry& folder, std::string_view /*name*/) {
        m_total.bytes += folder.allocated;
    }
    static void leaveFolder(bool /*complete*/) {}
    void file(const Entry& entry, std::string_view /*name*/) {
        if (!m_hardLinks.isRepeat(entry)) {
            m_total.bytes += entry.allocated;
            ++m_total.count;
        }
    }
    static void unexaminable(std::string_view /*name*/) {}
    [[nodiscard]] static bool handOff(const Entry& /*folder*/, std::string_view /*name*/,
                                      Descriptor& /*opened*/) {
        return false;
    }

    [[nodiscard]] const DirectorySize& total() const { return m_total; }

private:
    DirectorySize m_total;
    HardLinks m_hardLinks;
};

} // namespace

namespace {

// What the walk counted, kept by each worker on its own and added up at the end. Every figure
// is a sum, so the order in which the workers met the entries does not change it.
struct Totals {
    std::int64_t files = 0;
    std::int64_t bytes = 0;
    std::int64_t directories = 0;
    std::int64_t unreadable = 0;
    std::int64_t hardLinksSkipped = 0;
    std::array<std::int64_t, allStorageBuckets.size()> bucketBytes{};
    std::array<bool, allStorageBuckets.size()> bucketUsed{};
    std::array<std::int64_t, allFileKinds.size()> kindBytes{};
    std::array<std::int64_t, allFileKinds.size()> kindFiles{};

    void addToBucket(StorageBucket bucket, std::int64_t size) {
        const auto index = static_cast<std::size_t>(bucket);
        bucketBytes[index] += size;
        bucketUsed[index] = true;
    }

    void addFile(FileKind kind, StorageBucket bucket, std::int64_t size) {
        ++files;
        bytes += size;
        addToBucket(bucket, size);
        kindBytes[static_cast<std::size_t>(kind)] += size;
        ++kindFiles[static_cast<std::size_t>(kind)];
    }

    void add(const Totals& other) {
        files += other.files;
        bytes += other.bytes;
        directories += other.directories;
        unreadable += other.unreadable;
        hardLinksSkipped += other.hardLinksSkipped;
        for (std::size_t i = 0; i < bucketBytes.size(); ++i) {
            bucketBytes[i] += other.bucketBytes[i];
            bucketUsed[i] = bucketUsed[i] || other.bucketUsed[i];
        }
        for (std::size_t i = 0; i < kindBytes.size(); ++i) {
            kindBytes[i] += other.kindBytes[i];
            kindFiles[i] += other.kindFiles[i];
        }
    }
};

// A regular file with more than one link. Which of its names counts is decided after the walk,
// by walk order, so it does not depend on which worker met a name first.
struct LinkedFile {
    Entry entry;
    FileNode* folder = nullptr;
    // The number of the folder's children met before it.
    std::size_t position = 0;
    FileKind kind = FileKind::Other;
    StorageBucket bucket = StorageBucket::Other;
    // Its node when it is large enough for one, already among the folder's children.
    FileNode* node = nullptr;
};

// Counts a file directly inside `folder`.
void countFile(NodeArena& nodes, FileNode& folder, const Entry& entry, FileKind kind,
               StorageBucket bucket, bool hasNode, Totals& totals) {
    nodes.addFile(folder, entry.allocated, entry.length);
    if (!hasNode) {
        nodes.addSmallFile(folder, entry.allocated);
    }
    totals.addFile(kind, bucket, entry.allocated);
}

// A folder admitted and opened by one worker, its node made and placed among its parent's
// children, for another worker to walk.
struct FolderTask {
    Entry entry;
    FileNode* node = nullptr;
    PathComponents components{};
    Descriptor folder;
    std::string path;
};

} // namespace

/// The state of one `scan`: the workers, the folders handed between them, the progress shared
/// by all, and the result, assembled once the walk is over.
class Scanner::Walk {
public:
    Walk(const Scanner& scanner, const std::string& rootPath, const Exclusions& exclusions,
         const Progress& progress, std::size_t threads);

    [[nodiscard]] std::optional<ScanResult> run();

private:
    class Worker;

    void work(std::size_t index);
    void report(Worker& worker, std::string_view name);
    void assemble();
    struct Visit;
    void countLinks(Visit& visit, HardLinks& seen, std::unordered_set<const FileNode*>& repeats);
    [[nodiscard]] ScanResult finish();

    const Scanner& m_scanner;
    const Exclusions& m_exclusions;
    const Progress& m_progress;
    ScanResult m_result;
    std::vector<std::unique_ptr<NodeArena>> m_arenas;
    std::vector<std::unique_ptr<Worker>> m_workers;
    WorkQueue<FolderTask> m_queue;
    std::atomic<bool> m_stopped = false;
    Totals m_totals;
    // The counts reported so far, shared by the workers; each adds its own now and then.
    std::atomic<std::int64_t> m_reportedFiles = 0;
    std::atomic<std::int64_t> m_reportedBytes = 0;
    std::mutex m_reportLock;
    Timestamp m_start = 0;
    Timestamp m_lastReport = 0;
};

/// One thread of a scan: the visitor of its folder walks. It walks the root or a folder handed
/// to it, and hands sub-folders on while other workers wait for one. Nodes it makes live in
/// its own arena; figures that depend on other workers' folders (the contents of a folder
/// below it, files with several links) wait for the end of the walk.
class Scanner::Walk::Worker {
public:
    Worker(Walk& walk, NodeArena& nodes)
        : m_walk(walk)
        , m_nodes(nodes) {}

    /// Walks the root; false when it is stopped or the root could not be examined.
    [[nodiscard]] bool runRoot();
    /// Walks a folder handed over by another worker; false when it is stopped.
    [[nodiscard]] bool run(FolderTask task);

    [[nodiscard]] FolderWalk::Step admit(std::string_view path) const;
    [[nodiscard]] bool handOff(const Entry& entry, std::string_view name, Descriptor& opened);
    void enterFolder(const Entry& entry, std::string_view name);
    void leaveFolder(bool complete);
    void file(const Entry& entry, std::string_view name);
    void unexaminable(std::string_view name);

    [[nodiscard]] FileNode* root() const { return m_root; }
    [[nodiscard]] const Totals& totals() const { return m_totals; }
    [[nodiscard]] const std::vector<LinkedFile>& links() const { return m_links; }
    [[nodiscard]] const FolderWalk& walker() const { return m_walker; }
    /// The counts this worker has added to the shared progress so far.
    std::int64_t sharedFiles = 0;
    std::int64_t sharedBytes = 0;

private:
    // An open folder and the child nodes met in it so far. Frames are kept per depth and
    // reused, so their child vectors stop growing once the walk has seen a wide folder.
    struct Frame {
        FileNode* node = nullptr;
        // The head of the folder's matching path, pointing into the names in the arena.
        PathComponents components{};
        std::vector<FileNode*> children{};
    };

    [[nodiscard]] PathComponents componentsOf(std::string_view name) const;
    [[nodiscard]] FileNode* placeFolder(const Entry& entry, std::string_view name,
                                        PathComponents& components);
    [[nodiscard]] FileNode* makeFolder(const Entry& entry, std::string_view name,
                                       const PathComponents& components);
    [[nodiscard]] FileNode* makeFile(const Entry& entry, std::string_view name, FileKind kind,
                                     StorageBucket bucket);
    void push(FileNode* folder, const PathComponents& components);
    FileNode* pop();
    [[nodiscard]] Frame* openFrame();
    [[nodiscard]] const Frame* openFrame() const;
    void reportProgress(std::string_view name = {});

    Walk& m_walk;
    NodeArena& m_nodes;
    FolderWalk m_walker;
    FileNode* m_root = nullptr;
    std::vector<Frame> m_frames;
    std::size_t m_depth = 0;
    KindCache m_kinds;
    Totals m_totals;
    std::vector<LinkedFile> m_links;
};

bool Scanner::Walk::Worker::runRoot() {
    return m_walker.run(m_walk.m_result.rootPath, *this);
}

bool Scanner::Walk::Worker::run(FolderTask task) {
    push(task.node, task.components);
    // Handed over only once it passed the check for another device, so it is on the root's.
    return m_walker.runBelow(task.entry, std::move(task.folder), std::move(task.path),
                             task.entry.device, *this);
}

// Every folder entered is a chance to give up; the root is never excluded.
FolderWalk::Step Scanner::Walk::Worker::admit(std::string_view path) const {
    if (m_walk.m_stopped.load(std::memory_order_relaxed) || m_walk.m_scanner.isCancelled()) {
        return FolderWalk::Step::Stop;
    }
    const Exclusions& exclusions = m_walk.m_exclusions;
    if (m_depth > 0 && !exclusions.empty() &&
        exclusions.contains(matchingPath(path, m_walk.m_scanner.m_dataVolume))) {
        return FolderWalk::Step::Skip;
    }
    return FolderWalk::Step::Descend;
}

// A sub-folder goes to the queue only while a worker waits for one; otherwise this worker
// walks it itself, as a one-thread walk would.
bool Scanner::Walk::Worker::handOff(const Entry& entry, std::string_view name, Descriptor& opened) {
    if (!m_walk.m_queue.wanted()) {
        return false;
    }
    PathComponents components = componentsOf(name);
    FileNode* folder = placeFolder(entry, name, components);
    m_walk.m_queue.push(FolderTask{.entry = entry,
                                   .node = folder,
                                   .components = components,
                                   .folder = std::move(opened),
                                   .path = std::string(m_walker.path())});
    return true;
}

void Scanner::Walk::Worker::enterFolder(const Entry& entry, std::string_view name) {
    PathComponents components = componentsOf(name);
    push(placeFolder(entry, name, components), components);
    reportProgress();
}

// Makes the folder's node and puts it among its parent's children.
FileNode* Scanner::Walk::Worker::placeFolder(const Entry& entry, std::string_view name,
                                             PathComponents& components) {
    FileNode* folder = makeFolder(entry, name, components);
    if (m_depth == 0) {
        m_root = folder;
    } else {
        openFrame()->children.push_back(folder);
        // The name lives in the walker's listing; the node's copy stays.
        for (std::string_view& component : components.head) {
            if (component.data() == name.data()) {
                component = folder->name();
            }
        }
    }
    ++m_totals.directories;
    m_totals.addToBucket(folder->bucket(), folder->size());
    return folder;
}

// The components of the folder's matching path, built from its parent's rather than by
// splitting the whole path again: below the root a folder's matching path is its parent's
// plus its own name, except for the data volume itself, whose matching path is "/".
PathComponents Scanner::Walk::Worker::componentsOf(std::string_view name) const {
    const std::string_view dataVolume = m_walk.m_scanner.m_dataVolume;
    if (m_depth == 0) {
        return PathComponents::of(matchingPath(m_walk.m_result.rootPath, dataVolume));
    }
    if (m_walker.path() == dataVolume) {
        return {};
    }
    PathComponents components = m_frames[m_depth - 1].components;
    if (components.count < components.head.size()) {
        components.head[components.count] = name;
    }
    ++components.count;
    return components;
}

FileNode* Scanner::Walk::Worker::makeFolder(const Entry& entry, std::string_view name,
                                            const PathComponents& components) {
    const Frame* parent = openFrame();
    if (parent == nullptr) {
        name = m_walk.m_result.rootPath;
    }
    std::optional<StorageBucket> inherited;
    if (parent != nullptr && parent->node->bucket() != StorageBucket::Other) {
        inherited = parent->node->bucket();
    }
    FileNode::Attributes attributes;
    attributes.isDirectory = true;
    attributes.isPackage = isPackageName(name);
    attributes.kind = name.ends_with(".app") ? FileKind::Application : FileKind::Other;
    attributes.bucket = classify(components, name, inherited).value_or(StorageBucket::Other);
    attributes.size = entry.allocated;
    attributes.modified = static_cast<double>(entry.modified);
    attributes.accessed = static_cast<double>(entry.accessed);
    return m_nodes.make(name, parent == nullptr ? nullptr : parent->node, attributes);
}

// A folder that could not be opened or read to the end stays in the tree with what it holds
// so far (normally its own blocks only), flagged.
void Scanner::Walk::Worker::leaveFolder(bool complete) {
    FileNode* folder = pop();
    if (!complete) {
        ++m_totals.unreadable;
        m_nodes.markUnreadable(*folder);
    }
    reportProgress();
}

void Scanner::Walk::Worker::file(const Entry& entry, std::string_view name) {
    Frame* frame = openFrame();
    if (frame == nullptr) {
        return;
    }
    FileNode& folder = *frame->node;
    const FileKind kind = m_kinds.kindOf(name);
    const StorageBucket bucket =
        folder.bucket() == StorageBucket::Other ? defaultForKind(kind) : folder.bucket();
    const bool hasNode = entry.allocated >= nodeThreshold;
    FileNode* node = hasNode ? makeFile(entry, name, kind, bucket) : nullptr;
    if (entry.hasOtherLinks) {
        m_links.push_back(LinkedFile{.entry = entry,
                                     .folder = &folder,
                                     .position = frame->children.size(),
                                     .kind = kind,
                                     .bucket = bucket,
                                     .node = node});
    } else {
        countFile(m_nodes, folder, entry, kind, bucket, hasNode, m_totals);
    }
    if (node != nullptr) {
        frame->children.push_back(node);
    }
    reportProgress(name);
}

FileNode* Scanner::Walk::Worker::makeFile(const Entry& entry, std::string_view name, FileKind kind,
                                          StorageBucket bucket) {
    FileNode::Attributes attributes;
    attributes.kind = kind;
    attributes.bucket = bucket;
    attributes.size = entry.allocated;
    attributes.logicalSize = entry.length;
    attributes.fileCount = 1;
    attributes.modified = static_cast<double>(entry.modified);
    attributes.accessed = static_cast<double>(entry.accessed);
    return m_nodes.make(name, openFrame()->node, attributes);
}

void Scanner::Walk::Worker::unexaminable(std::string_view name) {
    ++m_totals.unreadable;
    reportProgress(name);
}

void Scanner::Walk::Worker::push(FileNode* folder, const PathComponents& components) {
    if (m_depth == m_frames.size()) {
        m_frames.emplace_back();
    }
    m_frames[m_depth].node = folder;
    m_frames[m_depth].components = components;
    ++m_depth;
}

// Closes the innermost open folder: its child list goes into the arena. Its figures reach its
// parent's after the walk, since the parent may be another worker's.
FileNode* Scanner::Walk::Worker::pop() {
    Frame& frame = m_frames[--m_depth];
    m_nodes.setChildren(*frame.node, frame.children);
    frame.children.clear();
    return frame.node;
}

Scanner::Walk::Worker::Frame* Scanner::Walk::Worker::openFrame() {
    return m_depth == 0 ? nullptr : &m_frames[m_depth - 1];
}

const Scanner::Walk::Worker::Frame* Scanner::Walk::Worker::openFrame() const {
    return m_depth == 0 ? nullptr : &m_frames[m_depth - 1];
}

void Scanner::Walk::Worker::reportProgress(std::string_view name) {
    if (m_walk.m_progress && m_totals.files % filesPerClockRead == 0) {
        m_walk.report(*this, name);
    }
}

Scanner::Walk::Walk(const Scanner& scanner, const std::string& rootPath,
                    const Exclusions& exclusions, const Progress& progress, std::size_t threads)
    : m_scanner(scanner)
    , m_exclusions(exclusions)
    , m_progress(progress)
    , m_queue(threads)
    , m_start(scanner.m_clock.now())
    , m_lastReport(m_start) {
    m_result.rootPath = rootPath;
    for (std::size_t i = 0; i < threads; ++i) {
        NodeArena* nodes = m_result.nodes.get();
        if (i > 0) {
            nodes = m_arenas.emplace_back(std::make_unique<NodeArena>()).get();
        }
        m_workers.push_back(std::make_unique<Worker>(*this, *nodes));
    }
}

// No root means the root was not a folder.
std::optional<ScanResult> Scanner::Walk::run() {
    runOnThreads(m_workers.size(), [this](std::size_t index) { work(index); });
    m_result.root = m_workers.front()->root();
    if (m_stopped || m_result.root == nullptr) {
        return std::nullopt;
    }
    assemble();
    return finish();
}

// The first worker walks the root; all then walk the folders handed over until none is left.
void Scanner::Walk::work(std::size_t index) {
    Worker& worker = *m_workers[index];
    bool going = index > 0 || worker.runRoot();
    while (going) {
        std::optional<FolderTask> task = m_queue.take();
        if (!task) {
            return;
        }
        going = worker.run(std::move(*task));
    }
    m_stopped = true;
    m_queue.stop();
}

// Adds what the worker counted since its last turn to the shared counts, and reports them
// when no other worker is reporting and more than `reportInterval` seconds have passed.
// Reports go out one at a time, each with counts at least those of the one before.
void Scanner::Walk::report(Worker& worker, std::string_view name) {
    const Totals& counted = worker.totals();
    m_reportedFiles.fetch_add(counted.files - worker.sharedFiles, std::memory_order_relaxed);
    m_reportedBytes.fetch_add(counted.bytes - worker.sharedBytes, std::memory_order_relaxed);
    worker.sharedFiles = counted.files;
    worker.sharedBytes = counted.bytes;
    const std::unique_lock guard(m_reportLock, std::try_to_lock);
    if (!guard.owns_lock()) {
        return;
    }
    const Timestamp now = m_scanner.m_clock.now();
    if (now - m_lastReport <= reportInterval) {
        return;
    }
    m_lastReport = now;
    const FolderWalk& walker = worker.walker();
    const std::string path = name.empty() ? std::string(walker.path()) : walker.pathOf(name);
    m_progress(ScanProgressSnapshot{
        .files = m_reportedFiles.load(std::memory_order_relaxed),
        .bytes = m_reportedBytes.load(std::memory_order_relaxed),
        .currentPath = std::string(matchingPath(path, m_scanner.m_dataVolume)),
    });
}

// A folder of the tree while it is assembled: its next child and its next link.
struct Scanner::Walk::Visit {
    FileNode* folder = nullptr;
    std::span<FileNode* const> children{};
    std::size_t next = 0;
    std::span<const LinkedFile* const> links{};
    std::size_t nextLink = 0;
};

// Joins the workers' nodes and figures into one tree, as a one-thread walk would have built
// it: in walk order (the tree in pre-order) each file with several links counts at its first
// name, `files` lists the file nodes, and each folder's figures go into its parent's.
void Scanner::Walk::assemble() {
    std::unordered_map<const FileNode*, std::vector<const LinkedFile*>> linksByFolder;
    for (const std::unique_ptr<Worker>& worker : m_workers) {
        m_totals.add(worker->totals());
        // One worker lists each folder, so a folder's links stay in listing order.
        for (const LinkedFile& link : worker->links()) {
            linksByFolder[link.folder].push_back(&link);
        }
    }
    for (std::unique_ptr<NodeArena>& arena : m_arenas) {
        m_result.nodes->adopt(*arena);
    }
    const auto visitOf = [&](FileNode* folder) {
        Visit visit{.folder = folder, .children = NodeArena::childrenOf(*folder)};
        if (const auto found = linksByFolder.find(folder); found != linksByFolder.end()) {
            visit.links = found->second;
        }
        return visit;
    };
    HardLinks seen;
    std::unordered_set<const FileNode*> repeats;
    m_result.files.reserve(reservedFileNodes);
    std::vector<Visit> path{visitOf(m_workers.front()->root())};
    while (!path.empty()) {
        Visit& visit = path.back();
        countLinks(visit, seen, repeats);
        if (visit.next < visit.children.size()) {
            FileNode* child = visit.children[visit.next++];
            if (child->isDirectory()) {
                path.push_back(visitOf(child));
            } else if (!repeats.contains(child)) {
                m_result.files.push_back(child);
            }
            continue;
        }
        FileNode* done = visit.folder;
        if (!visit.links.empty()) {
            NodeArena::removeChildren(*done, repeats);
        }
        path.pop_back();
        if (!path.empty()) {
            m_result.nodes->addContents(*path.back().folder, *done);
        }
    }
}

// Counts the links met in a folder right before its next child, unless their file was met
// earlier in the walk; a large repeat's node leaves the tree.
void Scanner::Walk::countLinks(Visit& visit, HardLinks& seen,
                               std::unordered_set<const FileNode*>& repeats) {
    for (;
         visit.nextLink < visit.links.size() && visit.links[visit.nextLink]->position == visit.next;
         ++visit.nextLink) {
        const LinkedFile* link = visit.links[visit.nextLink];
        if (seen.isRepeat(link->entry)) {
            ++m_totals.hardLinksSkipped;
            if (link->node != nullptr) {
                repeats.insert(link->node);
            }
        } else {
            countFile(*m_result.nodes, *link->folder, link->entry, link->kind, link->bucket,
                      link->node != nullptr, m_totals);
        }
    }
}

ScanResult Scanner::Walk::finish() {
    const Timestamp end = m_scanner.m_clock.now();
    m_result.duration = end - m_start;
    m_result.finishedAt = end;
    m_result.totalFiles = m_totals.files;
    m_result.totalDirectories = m_totals.directories;
    m_result.unreadableDirectories = m_totals.unreadable;
    m_result.hardLinksSkipped = m_totals.hardLinksSkipped;
    for (const StorageBucket bucket : allStorageBuckets) {
        const auto index = static_cast<std::size_t>(bucket);
        if (m_totals.bucketUsed[index]) {
            m_result.bucketTotals.emplace(bucket, m_totals.bucketBytes[index]);
        }
    }
    for (const FileKind kind : allFileKinds) {
        const auto index = static_cast<std::size_t>(kind);
        if (m_totals.kindFiles[index] > 0) {
            m_result.kindTotals.emplace(kind, m_totals.kindBytes[index]);
            m_result.kindCounts.emplace(kind, m_totals.kindFiles[index]);
        }
    }
    return std::move(m_result);
}

Scanner::Scanner(const Locations& locations, const Clock& clock, std::size_t threads)
    : m_dataVolume(locations.dataVolume)
    , m_clock(clock)
    , m_threads(threads) {}

void Scanner::cancel() {
    m_cancelled.store(true, std::memory_order_relaxed);
}

bool Scanner::isCancelled() const {
    return m_cancelled.load(std::memory_order_relaxed);
}

std::optional<ScanResult> Scanner::scan(const std::string& rootPath, const Exclusions& exclusions,
                                        const Progress& progress) {
    const std::size_t threads = m_threads > 0 ? m_threads : workerThreadsFor(rootPath);
    Walk walk(*this, rootPath, exclusions, progress, threads);
    return walk.run();
}

DirectorySize Scanner::directorySize(const std::string& path) {
    FolderWalk walker;
    SizeTally tally;
    if (!walker.run(path, tally)) {
        return {};
    }
    return tally.total();
}

} // namespace dorvale
