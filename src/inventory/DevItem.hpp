#pragma once

#include "model/Removal.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <functional>
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

template <>
struct std::hash<dorvale::DevItem> {
    std::size_t operator()(const dorvale::DevItem& item) const noexcept {
        std::size_t value = std::hash<std::string>{}(item.path);
        const auto mix = [&value](std::size_t next) {
            value = value * 31 + next;
        };
        mix(std::hash<std::string>{}(item.title));
        mix(std::hash<std::string>{}(item.detail));
        mix(std::hash<std::int64_t>{}(item.size));
        mix(std::hash<double>{}(item.lastTouched));
        mix(static_cast<std::size_t>(item.removal));
        return value;
    }
};
