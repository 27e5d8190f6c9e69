#include "platform/Trash.hpp"

#include "platform/Descriptor.hpp"
#include "platform/FileOperations.hpp"
#include "platform/MountIdentity.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"
#include "platform/TreeSurvey.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <ctime>

namespace dorvale {

namespace {

constexpr std::string_view infoSuffix = ".trashinfo";
constexpr std::string_view infoHeader = "[Trash Info]";
// A generous bound; reaching it means something keeps creating names as fast as we try.
constexpr int maximumNameAttempts = 10'000;
// The longest name in the Trash that still leaves room for its description's suffix.
constexpr std::size_t maximumTrashNameLength = NAME_MAX - infoSuffix.size();
// A description holds one path, however deep and however encoded, in far less than this.
constexpr std::size_t maximumInfoSize = 1024 * 1024;

FileError trashError(std::string_view path, int code, std::string detail = {}) {
    return FileError{.code = code,
                     .operation = FileOperation::MoveToTrash,
                     .path = std::string(path),
                     .detail = std::move(detail)};
}

FileError noUsableTrash(std::string_view path) {
    return trashError(path, EXDEV,
                      std::string(tr("This volume has no Trash that can be used, so the item "
                                     "was left where it is.")));
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            result += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexDigitValue(text[i + 1]);
        const int low = hexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        result += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return result;
}

// The deletion date as the desktop expects it: local time, "YYYY-MM-DDThh:mm:ss".
std::string formatDeletionDate(Timestamp now) {
    const auto seconds = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

std::string infoContents(std::string_view recordedPath, Timestamp now) {
    return std::string(infoHeader) + "\nPath=" + percentEncodePath(recordedPath) +
           "\nDeletionDate=" + formatDeletionDate(now) + "\n";
}

// `name` cut to at most `length` bytes without splitting a UTF-8 sequence.
std::string truncatedName(std::string_view name, std::size_t length) {
    if (name.size() <= length) {
        return std::string(name);
    }
    std::size_t end = length;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(name.substr(0, end));
}

// The name tried in the Trash at the given attempt: the item's own name first, then
// "<name>.2", "<name>.3", and so on.
std::string candidateName(std::string_view name, int attempt) {
    const std::string suffix = attempt == 1 ? std::string() : "." + std::to_string(attempt);
    return truncatedName(name, maximumTrashNameLength - suffix.size()) + suffix;
}

bool isRealFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode);
}

// Creates a folder only its owner may enter, or accepts the folder that is already there.
Result<void> createPrivateFolder(const std::string& path) {
    struct stat info {};
    if (mkdir(path.c_str(), 0700) == 0 ||
        (errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))) {
        return {};
    }
    return FileError{.code = errno == EEXIST ? ENOTDIR : errno,
                     .operation = FileOperation::CreateFolder,
                     .path = path};
}

// A Trash folder kept for one user on a shared file system must be a real folder of that
// user; a link or somebody else's folder could hand our items to another user.
bool isOwnFolder(const std::string& path, uid_t uid) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && isRealFolder(info) && info.st_uid == uid;
}

// Creates the Trash folder and its two folders, each checked to be the user's own before
// anything is made in it.
Result<void> createFilesAndInfo(const std::string& trash, uid_t uid) {
    for (const std::string_view part : {"", "files", "info"}) {
        const std::string folder = part.empty() ? trash : joinPath(trash, part);
        if (Result<void> made = createPrivateFolder(folder); !made.ok()) {
            return made;
        }
        if (!isOwnFolder(folder, uid)) {
            return noUsableTrash(trash);
        }
    }
    return {};
}

// "<topdir>/.Trash/<uid>", when the administrator prepared "<topdir>/.Trash" as a sticky
// folder shared by all users.
std::optional<std::string> sharedTrashFolder(const std::string& topdir, uid_t uid) {
    const std::string shared = joinPath(topdir, ".Trash");
    struct stat info {};
    if (lstat(shared.c_str(), &info) != 0 || !isRealFolder(info) || (info.st_mode & S_ISVTX) == 0) {
        return std::nullopt;
    }
    const std::string own = joinPath(shared, std::to_string(uid));
    if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    return isOwnFolder(own, uid) ? std::optional(own) : std::nullopt;
}

std::optional<std::string> userTrashFolder(const std::string& topdir, uid_t uid) {
    const std::string own = joinPath(topdir, ".Trash-" + std::to_string(uid));
    if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    return isOwnFolder(own, uid) ? std::optional(own) : std::nullopt;
}

std::optional<dev_t> deviceOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info.st_dev;
}

// The device of `path`, or of its nearest existing ancestor when it does not exist yet.
std::optional<dev_t> deviceOfNearest(std::string path) {
    for (;;) {
        if (const auto device = deviceOf(path)) {
            return device;
        }
        const std::string parent(parentPath(path));
        if (parent.empty() || parent == path) {
            return std::nullopt;
        }
        path = parent;
    }
}

// The path a description records: absolute for the home Trash, relative to the top
// folder for a Trash at the top of a file system. The item's folder was reached without a
// link, so its path is where it really is.
std::optional<std::string> recordedPathFor(const TrashDirectory& trash, const std::string& path) {
    if (trash.topdir.empty()) {
        return path;
    }
    if (!isSameOrInside(parentPath(path), trash.topdir)) {
        return std::nullopt;
    }
    return path.substr(trash.topdir == "/" ? 1 : trash.topdir.size() + 1);
}

// Reserves `name` in the Trash by creating its description; false when the name is taken.
Result<bool> reserveName(const std::string& infoPath, std::string_view contents,
                         std::string_view itemPath) {
    Descriptor fd(
        open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        if (errno == EEXIST) {
            return false;
        }
        return trashError(itemPath, errno);
    }
    int writeError = writeAll(fd.get(), contents);
    if (!fd.close() && writeError == 0) {
        writeError = errno;
    }
    if (writeError != 0) {
        unlink(infoPath.c_str());
        return trashError(itemPath, writeError);
    }
    return true;
}

// The folder holding the Trash's own folders, to which relative recorded paths refer;
// empty for the home Trash.
std::string topdirOfTrash(const std::string& trash) {
    const std::string_view name = lastComponent(trash);
    if (name.starts_with(".Trash-")) {
        return std::string(parentPath(trash));
    }
    const std::string_view parent = parentPath(trash);
    if (lastComponent(parent) == ".Trash") {
        return std::string(parentPath(parent));
    }
    return {};
}

std::optional<std::string> pathLine(std::string_view contents) {
    bool inInfoGroup = false;
    while (!contents.empty()) {
        const std::size_t end = contents.find('\n');
        std::string_view line = contents.substr(0, end);
        contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('[')) {
            inInfoGroup = line == infoHeader;
        } else if (inInfoGroup && line.starts_with("Path=")) {
            return std::string(line.substr(5));
        }
    }
    return std::nullopt;
}

// Whether two paths name the same place: the same text, or the same name in folders that
// resolve to the same real folder.
bool isSamePlace(const std::string& first, const std::string& second) {
    const std::string a = normalizePath(first);
    const std::string b = normalizePath(second);
    if (a == b) {
        return true;
    }
    if (lastComponent(a) != lastComponent(b)) {
        return false;
    }
    const auto realA = realPath(std::string(parentPath(a)));
    const auto realB = realPath(std::string(parentPath(b)));
    return realA && realB && *realA == *realB;
}

FileError restoreError(const std::string& path, int code, std::string detail = {}) {
    return FileError{.code = code,
                     .operation = FileOperation::Restore,
                     .path = path,
                     .detail = std::move(detail)};
}

} // namespace

Trash::Trash(Locations locations, const Clock& clock, uid_t uid)
    : m_locations(std::move(locations))
    , m_clock(&clock)
    , m_uid(uid) {}

Result<std::string> Trash::moveToTrash(const std::string& path) const {
    const std::string full = normalizePath(path);
    if (!full.starts_with('/') || full == "/") {
        return trashError(path, EINVAL);
    }
    Result<Descriptor> parent =
        openFolderWithoutLinks(parentPath(full), FileOperation::MoveToTrash);
    if (!parent.ok()) {
        return parent.error();
    }
    return moveToTrash(parent.value().get(), full);
}

Result<std::string> Trash::moveToTrash(int parentFd, const std::string& path) const {
    // A mount carried into the Trash would be emptied with it.
    if (surveyTree(parentFd, std::string(lastComponent(path))).holdsMount) {
        return holdsMountError(FileOperation::MoveToTrash, path);
    }
    Result<TrashDirectory> trash = directoryFor(parentFd, path);
    if (!trash.ok()) {
        return trash.error();
    }
    return moveInto(trash.value(), parentFd, path);
}

Result<TrashDirectory> Trash::directoryFor(int parentFd, const std::string& path) const {
    const std::string full = normalizePath(path);
    if (!full.starts_with('/') || full == "/") {
        return trashError(path, EINVAL);
    }
    struct stat item {};
    if (fstatat(parentFd, std::string(lastComponent(full)).c_str(), &item, AT_SYMLINK_NOFOLLOW) !=
        0) {
        return trashError(full, errno);
    }
    // The rename happens in the item's folder, so the folder's file system decides.
    struct stat parent {};
    if (fstat(parentFd, &parent) != 0) {
        return trashError(full, errno);
    }
    if (deviceOfNearest(m_locations.homeTrash()) == parent.st_dev) {
        return homeTrash();
    }
    // The folder was reached without a link, so its path is where it really is.
    Result<TrashDirectory> trash = topdirTrash(topdirOf(std::string(parentPath(full))));
    if (!trash.ok()) {
        return noUsableTrash(full);
    }
    return trash;
}

Result<TrashDirectory> Trash::homeTrash() const {
    const std::string trash = m_locations.homeTrash();
    if (Result<void> made = createFolderChain(parentPath(trash)); !made.ok()) {
        return made.error();
    }
    // Held to the same rule as a Trash on a shared disk.
    if (Result<void> made = createFilesAndInfo(trash, m_uid); !made.ok()) {
        return made.error();
    }
    return TrashDirectory{.path = trash, .topdir = {}};
}

Result<TrashDirectory> Trash::topdirTrash(const std::string& topdir) const {
    // The per-user folder is only made when the shared one cannot be used.
    auto folder = sharedTrashFolder(topdir, m_uid);
    if (!folder || !createFilesAndInfo(*folder, m_uid).ok()) {
        folder = userTrashFolder(topdir, m_uid);
        if (!folder || !createFilesAndInfo(*folder, m_uid).ok()) {
            return noUsableTrash(topdir);
        }
    }
    return TrashDirectory{.path = *folder, .topdir = topdir};
}

Result<std::string> Trash::moveInto(const TrashDirectory& trash, int parentFd,
                                    const std::string& itemPath) const {
    const std::string path = normalizePath(itemPath);
    if (!path.starts_with('/') || path == "/") {
        return trashError(itemPath, EINVAL);
    }
    const auto recorded = recordedPathFor(trash, path);
    if (!recorded) {
        return noUsableTrash(path);
    }
    const std::string contents = infoContents(*recorded, m_clock->now());
    const std::string name(lastComponent(path));
    for (int attempt = 1; attempt <= maximumNameAttempts; ++attempt) {
        const std::string candidate = candidateName(name, attempt);
        const std::string infoPath =
            joinPath(joinPath(trash.path, "info"), candidate + std::string(infoSuffix));
        Result<bool> reserved = reserveName(infoPath, contents, path);
        if (!reserved.ok()) {
            return reserved.error();
        }
        if (!reserved.value()) {
            continue;
        }
        const std::string target = joinPath(joinPath(trash.path, "files"), candidate);
        const Result<void> moved = moveWithoutReplacing(parentFd, name, AT_FDCWD, target, path);
        if (moved.ok()) {
            return target;
        }
        unlink(infoPath.c_str());
        if (moved.error().code == EXDEV) {
            // The Trash is on the item's file system, so the item lies on another mount of it.
            return trashError(path, EXDEV,
                              std::string(tr("Lies on another mounted disk, so it can’t be moved "
                                             "to the Trash and was left where it is.")));
        }
        if (moved.error().code != EEXIST) {
            return trashError(path, moved.error().code);
        }
    }
    return trashError(path, EEXIST);
}

Result<TrashSlot> Trash::reserveSlot(const std::string& itemPath) const {
    const std::string path = normalizePath(itemPath);
    if (!path.starts_with('/') || path == "/") {
        return trashError(itemPath, EINVAL);
    }
    Result<TrashDirectory> trash = homeTrash();
    if (!trash.ok()) {
        return trash.error();
    }
    const std::string contents = infoContents(path, m_clock->now());
    const std::string name(lastComponent(path));
    for (int attempt = 1; attempt <= maximumNameAttempts; ++attempt) {
        const std::string candidate = candidateName(name, attempt);
        TrashSlot slot{
            .target = joinPath(joinPath(trash.value().path, "files"), candidate),
            .infoPath =
                joinPath(joinPath(trash.value().path, "info"), candidate + std::string(infoSuffix)),
        };
        Result<bool> reserved = reserveName(slot.infoPath, contents, path);
        if (!reserved.ok()) {
            return reserved.error();
        }
        if (!reserved.value()) {
            continue;
        }
        // An item left in "files" without a description still holds its name.
        struct stat standing {};
        if (lstat(slot.target.c_str(), &standing) == 0) {
            releaseSlot(slot);
            continue;
        }
        return slot;
    }
    return trashError(path, EEXIST);
}

void Trash::releaseSlot(const TrashSlot& slot) {
    unlink(slot.infoPath.c_str());
}

Result<void> Trash::restore(const std::string& trashPath, const std::string& originalPath) {
    struct stat item {};
    if (lstat(trashPath.c_str(), &item) != 0) {
        return restoreError(trashPath, errno);
    }
    const auto recorded = recordedOriginalPath(trashPath);
    if (!recorded || !isSamePlace(*recorded, originalPath)) {
        return restoreError(trashPath, ENOENT,
                            std::string(tr("The item in the Trash is not the one that was "
                                           "deleted.")));
    }
    if (Result<void> made = createFolderChain(parentPath(originalPath)); !made.ok()) {
        return restoreError(made.error().path, made.error().code);
    }
    if (Result<void> moved = moveWithoutReplacing(trashPath, originalPath); !moved.ok()) {
        const int code = moved.error().code;
        return restoreError(originalPath, code,
                            code == EEXIST ? std::string(tr("An item with the same name already "
                                                            "exists at the original location."))
                                           : std::string());
    }
    // The item is back; a description left behind would make the desktop's Trash list a
    // ghost, but the restore itself has succeeded.
    if (const auto infoPath = infoFileFor(trashPath)) {
        unlink(infoPath->c_str());
    }
    return {};
}

std::optional<std::string> Trash::infoFileFor(const std::string& trashPath) {
    const std::string path = normalizePath(trashPath);
    const std::string_view files = parentPath(path);
    if (lastComponent(files) != "files") {
        return std::nullopt;
    }
    const std::string trash(parentPath(files));
    const std::string_view trashName = lastComponent(trash);
    const bool looksLikeTrash = trashName == "Trash" || trashName.starts_with(".Trash-") ||
                                lastComponent(parentPath(trash)) == ".Trash";
    if (!looksLikeTrash) {
        return std::nullopt;
    }
    return joinPath(joinPath(trash, "info"),
                    std::string(lastComponent(path)) + std::string(infoSuffix));
}

std::optional<std::string> Trash::recordedOriginalPath(const std::string& trashPath) {
    const auto infoPath = infoFileFor(trashPath);
    if (!infoPath) {
        return std::nullopt;
    }
    // Descriptions are written here as files of their own, never as links to elsewhere.
    Result<std::string> contents = readFile(*infoPath, maximumInfoSize, FinalLink::Refuse);
    if (!contents.ok()) {
        return std::nullopt;
    }
    const auto encoded = pathLine(contents.value());
    const auto decoded = encoded ? percentDecode(*encoded) : std::nullopt;
    if (!decoded || decoded->empty()) {
        return std::nullopt;
    }
    if (decoded->starts_with('/')) {
        return decoded;
    }
    const std::string topdir = topdirOfTrash(std::string(parentPath(parentPath(*infoPath))));
    if (topdir.empty()) {
        return std::nullopt;
    }
    return normalizePath(joinPath(topdir, *decoded));
}

std::string Trash::topdirOf(const std::string& folder) {
    std::string current = normalizePath(folder);
    const auto device = deviceOf(current);
    while (device && current != "/") {
        const std::string parent(parentPath(current));
        if (parent.empty() || deviceOf(parent) != device) {
            break;
        }
        current = parent;
    }
    return current;
}

} // namespace dorvale
