#include "platform/FullDiskAccess.hpp"

#include "platform/Descriptor.hpp"
#include "platform/FileOperations.hpp"
#include "platform/FolderListing.hpp"

#include <fcntl.h>

#include <string>

namespace dorvale {

namespace {

enum class Probe { Missing, Denied, Granted };

// Without waiting: a FIFO in its place would hold the open until someone wrote to it.
bool canOpen(const std::string& path) {
    return Descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)).valid();
}

bool canList(const std::string& path) {
    return listFolder(path).has_value();
}

Probe probe(const std::string& path) {
    // A path this user may not look into may still be there: only one certainly missing is.
    if (presenceOf(path) == Presence::Missing) {
        return Probe::Missing;
    }
    const bool readable = path.ends_with(".db") ? canOpen(path) : canList(path);
    return readable ? Probe::Granted : Probe::Denied;
}

} // namespace

bool FullDiskAccess::isGranted(const Locations& locations) {
    const std::string candidates[] = {
        locations.systemPath("/Library/Application Support/com.apple.TCC/TCC.db"),
        locations.homePath("Library/Safari"),
    };
    bool anyExists = false;
    for (const std::string& candidate : candidates) {
        const Probe result = probe(candidate);
        if (result == Probe::Granted) {
            return true;
        }
        anyExists = anyExists || result == Probe::Denied;
    }
    return !anyExists;
}

void FullDiskAccess::openPrivacySettings() {
    // There is no privacy pane to show on this system, and a settings URL of another
    // platform must never reach the desktop's URL handlers.
}

} // namespace dorvale
