#include "platform/TreeSurvey.hpp"

#include "platform/Descriptor.hpp"
#include "platform/FolderListing.hpp"
#include "platform/MountIdentity.hpp"

#include <fcntl.h>
#include <sys/stat.h>

namespace dorvale {

namespace {

void survey(int folderFd, std::uint64_t folderMount, const std::string& name, TreeSurvey& found) {
    const auto entry = mountIdentityAt(folderFd, name);
    if (!entry) {
        return;
    }
    if (entry->mount != folderMount || entry->isMountRoot) {
        found.holdsMount = true;
        return;
    }
    found.allocated += entry->allocated;
    if (entry->type != S_IFDIR) {
        return;
    }
    const Descriptor folder(
        openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const auto entries = folder.valid() ? listFolderEntries(folder.get()) : std::nullopt;
    if (!entries) {
        return;
    }
    for (const FolderEntry& child : *entries) {
        survey(folder.get(), entry->mount, child.name, found);
        if (found.holdsMount) {
            return;
        }
    }
}

} // namespace

TreeSurvey surveyTree(int folderFd, const std::string& name) {
    TreeSurvey found;
    if (const auto folder = mountIdentityAt(folderFd, "")) {
        survey(folderFd, folder->mount, name, found);
    }
    return found;
}

} // namespace dorvale
