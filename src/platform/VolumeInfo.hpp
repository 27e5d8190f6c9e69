#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// Where the volume's name is looked up; tests point these into a fixture.
struct VolumeNameSources {
    /// The mount table of this process, for the device a mount comes from.
    std::string mountTable = "/proc/self/mountinfo";
    /// The folder of links named after file-system labels, each leading to its device.
    std::string labelFolder = "/dev/disk/by-label";
};

/// The capacities and name of the volume (file system) that holds a path.
struct VolumeInfo {
    /// The file system's label; "Computer" (through `tr`), the name this desktop gives the
    /// root, when it has none.
    std::string name{};
    /// Total capacity in bytes.
    std::int64_t total = 0;
    /// Bytes available to this user.
    std::int64_t available = 0;
    /// Bytes available for important use; Linux purges nothing on demand, so it equals
    /// `available`.
    std::int64_t availableForImportantUsage = 0;

    /// The volume of `path`; nothing when the file system cannot be asked (a missing
    /// path, for one). Keeps no state and may be called from any thread; it asks the
    /// kernel and reads the mount table, which is quick, though a hung network mount can
    /// hold it up.
    [[nodiscard]] static std::optional<VolumeInfo> read(const std::string& path,
                                                        const VolumeNameSources& sources = {});

    friend bool operator==(const VolumeInfo&, const VolumeInfo&) = default;
};

/// A label as the label folder spells it, with its "\xHH" escapes (udev writes a space as
/// "\x20", a slash as "\x2f") turned back into bytes.
[[nodiscard]] std::string unescapeLabel(std::string_view escaped);

} // namespace dorvale
