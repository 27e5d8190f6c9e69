#include "inventory/LaunchItem.hpp"
#include "model/DeletionEngine.hpp"
#include "platform/FileOperations.hpp"
#include "platform/Paths.hpp"
#include "platform/Tr.hpp"

#include <algorithm>

namespace dorvale {

namespace {

constexpr std::string_view launchctlPath = "/bin/launchctl";
constexpr std::string_view plistSuffix = ".plist";

// The bootout's own words are of no use: an agent that was not loaded is still moved.
constexpr std::string_view removalScript =
    "/bin/launchctl bootout \"$1\" \"$2\" >/dev/null 2>&1; /bin/mv -T -- \"$2\" \"$3\"";

bool isPlainCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("._@+/ -").find(c) != std::string_view::npos;
}

std::string unsupportedName() {
    return std::string(tr("Unsupported file name."));
}

std::optional<std::string> moveToTrash(const std::string& path, const Trash& trash) {
    const Result<std::string> moved = trash.moveToTrash(path);
    if (!moved.ok()) {
        return DeletionEngine::failureReason(moved.error());
    }
    return std::nullopt;
}

std::optional<std::string> removeUserAgent(const LaunchItem& item, uid_t uid, const Trash& trash,
                                           const ProcessRunner& processes) {
    // Waited for, so the job has stopped before its file goes.
    static_cast<void>(
        processes.run(std::string(launchctlPath),
                      {"bootout", LaunchItem::launchDomain(item.scope, uid), item.path}));
    return moveToTrash(item.path, trash);
}

// A session file this removal may touch: an entry or an enabling link, named plainly.
bool isSessionPath(const LaunchItem& item) {
    if (!item.path.starts_with('/') || item.path.find("..") != std::string::npos ||
        item.path.find('\n') != std::string::npos) {
        return false;
    }
    if (item.kind == LaunchItem::Kind::UserUnit) {
        return parentPath(item.path).ends_with(".wants");
    }
    return item.path.ends_with(".desktop");
}

// The user's entry of the same name, saying that the entry is not to be started; it keeps
// the entry's name so that lists of startup programs still show what it stands for.
std::optional<std::string> overrideSystemEntry(const LaunchItem& item, const Locations& locations) {
    std::string contents = "[Desktop Entry]\nType=Application\n";
    if (item.ownerName) {
        contents += "Name=" + *item.ownerName + "\n";
    }
    contents += "Hidden=true\n";
    const std::string folder = locations.autostartFolder();
    Result<void> written = createFolderChain(folder);
    if (written.ok()) {
        written = writeFileAtomically(joinPath(folder, lastComponent(item.path)), contents);
    }
    if (!written.ok()) {
        return DeletionEngine::failureReason(written.error());
    }
    return std::nullopt;
}

std::optional<std::string> removeSessionItem(const LaunchItem& item, const Locations& locations,
                                             const Trash& trash) {
    if (!isSessionPath(item)) {
        return unsupportedName();
    }
    if (!item.removalTrashesFile()) {
        return overrideSystemEntry(item, locations);
    }
    return moveToTrash(item.path, trash);
}

std::optional<std::string> removeSystemItem(const LaunchItem& item, uid_t uid, const Trash& trash,
                                            const AdministratorRunner& administrator) {
    const Result<TrashSlot> slot = trash.reserveSlot(item.path);
    if (!slot.ok()) {
        return DeletionEngine::failureReason(slot.error());
    }
    const AdministratorResult result = administrator.run(
        LaunchItem::systemRemovalCommand(item.scope, item.path, slot.value().target, uid));
    std::optional<std::string> message = administratorMessage(result, "Couldn't remove it.");
    if (message) {
        Trash::releaseSlot(slot.value());
    }
    return message;
}

} // namespace

bool LaunchItem::isRemovableTarget(std::string_view path) {
    return path.starts_with('/') && path.find("..") == std::string_view::npos &&
           std::all_of(path.begin(), path.end(), isPlainCharacter);
}

bool LaunchItem::isRemovablePath(std::string_view path) {
    return isRemovableTarget(path) && path.size() > plistSuffix.size() + 1 &&
           path.ends_with(plistSuffix);
}

std::string LaunchItem::launchDomain(Scope scope, uid_t uid) {
    if (scope == Scope::SystemDaemon) {
        return "system";
    }
    return "gui/" + std::to_string(uid);
}

std::vector<std::string> LaunchItem::systemRemovalCommand(Scope scope, const std::string& path,
                                                          const std::string& target, uid_t uid) {
    return {"/bin/sh", "-c",  std::string(removalScript), "sh", launchDomain(scope, uid),
            path,      target};
}

std::optional<std::string> LaunchItem::remove(const LaunchItem& item, uid_t uid,
                                              const Locations& locations, const Trash& trash,
                                              const ProcessRunner& processes,
                                              const AdministratorRunner& administrator) {
    if (item.kind != Kind::LaunchList) {
        return removeSessionItem(item, locations, trash);
    }
    if (!isRemovablePath(item.path)) {
        return unsupportedName();
    }
    if (item.scope == Scope::UserAgent) {
        return removeUserAgent(item, uid, trash, processes);
    }
    // The Trash place goes into the administrator command too, so it is held to the same
    // rule before anything is written there: a home folder with a quote in its name runs
    // nothing at all.
    if (!isRemovableTarget(joinPath(locations.trashFolder(), lastComponent(item.path)))) {
        return unsupportedName();
    }
    return removeSystemItem(item, uid, trash, administrator);
}

} // namespace dorvale
