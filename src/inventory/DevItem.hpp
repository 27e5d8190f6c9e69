#pragma once

#include "model/Removal.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <string>

namespace dorvale {

/// One folder or junk item that a developer's tools can rebuild at any time: dependencies,
/// virtual environments, build output and caches. A plain value, identified by `path`.
struct DevItem {
    /// Absolute path (raw bytes); for a folder of the scan, its full path as scanned.
    std::string path{};
    /// "project / folder" for a folder of the scan, "rule title · item name" for a junk item.
    std::string title{};
    /// One sentence on what the item is and how it comes back, in the current language.
    std::string detail{};
    /// Allocated bytes the deletion would win.
    std::int64_t size = 0;
    /// When the project (or the junk item itself) was last changed.
    Timestamp lastTouched = 0;
    Removal removal = Removal::Permanent;

    [[nodiscard]] const std::string& id() const { return path; }
    bool operator==(const DevItem&) const = default;
};

} // namespace dorvale
