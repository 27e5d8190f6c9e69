#pragma once

#include "platform/Clock.hpp"
#include "platform/Locations.hpp"
#include "platform/Result.hpp"

#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace dorvale {

/// One Trash folder: it holds a "files" folder with the trashed items and an "info" folder
/// with one "<name>.trashinfo" description per item, which records the item's original
/// path and its deletion date so that the desktop's own Trash can list and restore it.
struct TrashDirectory {
    std::string path{};
    /// The top folder of the file system for a Trash kept there (its descriptions hold
    /// paths relative to it); empty for the home Trash, whose descriptions hold absolute
    /// paths.
    std::string topdir{};
};

/// A name kept free in the home Trash for an item that another process moves there, such
/// as an administrator command moving a file this user may not move. Its description is
/// already written, so once the item stands at `target` the desktop's Trash can restore it.
struct TrashSlot {
    /// Where the item goes: "<trash>/files/<name>", where nothing stands yet.
    std::string target{};
    /// The description written for it.
    std::string infoPath{};
};

/// The desktop Trash. Items on the file system of the home Trash go there; items on any
/// other file system go to a Trash at the top of that file system. Items are only ever
/// renamed into a Trash, never copied, so an item on a file system without a usable Trash
/// stays where it is and the move fails. A Trash folder, at home or elsewhere, is used only
/// when it and its "files" and "info" folders are real folders (no links) of the user.
class Trash {
public:
    /// `clock` gives the deletion dates and must outlive the Trash; `uid` names the
    /// per-user Trash folders at the top of other file systems.
    explicit Trash(Locations locations, const Clock& clock = Clock::system(), uid_t uid = getuid());

    /// Moves the item at `path` (not following a final symbolic link) into the Trash of its
    /// file system and returns its new path inside that Trash's "files" folder. Its folder is
    /// opened by `openFolderWithoutLinks`, so a path through a link is refused.
    [[nodiscard]] Result<std::string> moveToTrash(const std::string& path) const;
    /// The same for the item `path` whose folder is open as `parentFd`: the item moved is the
    /// one in that folder, whatever its path leads to by now. The description is written
    /// first under a name nobody else holds, then the item is renamed onto the same name; a
    /// failed rename removes the description again.
    [[nodiscard]] Result<std::string> moveToTrash(int parentFd, const std::string& path) const;

    /// The Trash the item `path`, in the folder open as `parentFd`, belongs in, created as
    /// needed.
    [[nodiscard]] Result<TrashDirectory> directoryFor(int parentFd, const std::string& path) const;
    /// Moves the item `path` in the folder `parentFd` into the given Trash; see
    /// `moveToTrash`.
    [[nodiscard]] Result<std::string> moveInto(const TrashDirectory& trash, int parentFd,
                                               const std::string& path) const;
    /// The Trash at the top of a file system: "<topdir>/.Trash/<uid>" when "<topdir>/.Trash"
    /// is a real folder (not a link) with the sticky bit, otherwise "<topdir>/.Trash-<uid>".
    /// A file system where neither can be used gives EXDEV with an explaining detail.
    [[nodiscard]] Result<TrashDirectory> topdirTrash(const std::string& topdir) const;

    /// Keeps a name free in the home Trash for the item at the absolute `path`, which
    /// another process then moves to the slot's `target` (this user may not be able to
    /// move it). The description records `path`; the name is the item's own, else
    /// "<name>.2" and so on, never one that a description or an item already holds. The
    /// item itself is not looked at.
    [[nodiscard]] Result<TrashSlot> reserveSlot(const std::string& path) const;
    /// Removes the description of a slot whose item was not moved after all.
    static void releaseSlot(const TrashSlot& slot);

    /// Moves the item at `trashPath` back to `originalPath` and removes its description.
    /// It fails, and changes nothing, when the item is missing, when its description does
    /// not name `originalPath`, or when anything stands at `originalPath`; missing parent
    /// folders of `originalPath` are created.
    [[nodiscard]] static Result<void> restore(const std::string& trashPath,
                                              const std::string& originalPath);

    /// The path of the description belonging to an item that lies directly in the "files"
    /// folder of a Trash, or nothing for any other path. Purely lexical.
    [[nodiscard]] static std::optional<std::string> infoFileFor(const std::string& trashPath);
    /// The original path recorded in the description of a trashed item.
    [[nodiscard]] static std::optional<std::string>
    recordedOriginalPath(const std::string& trashPath);
    /// The top folder of the file system holding `folder`: the highest folder above it on
    /// the same device.
    [[nodiscard]] static std::string topdirOf(const std::string& folder);

private:
    [[nodiscard]] Result<TrashDirectory> homeTrash() const;

    Locations m_locations;
    const Clock* m_clock;
    uid_t m_uid;
};

} // namespace dorvale
