#pragma once

#include <cstdint>

namespace dorvale {

/// The folders of the user's Library where applications keep their data. Code tells them
/// apart by these names; the label shown for one is translated and two labels could read
/// alike, so a label is for display only.
enum class LibraryFolder : std::uint8_t {
    ApplicationSupport,
    Caches,
    Containers,
    GroupContainers,
    Preferences,
    SavedApplicationState,
    Logs,
    HttpStorages,
    WebKit,
    Cookies,
    LaunchAgents,
    ApplicationScripts,
};

} // namespace dorvale
