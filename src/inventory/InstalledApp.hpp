#pragma once

#include "inventory/LibraryFolder.hpp"
#include "platform/Clock.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace dorvale {

/// A date earlier than any file or index date (the first day of year 1), given to
/// applications that were never seen in use so that they sort as the oldest.
inline constexpr Timestamp distantPast = -62'135'596'800.0;

/// One file or folder of an application's data outside its bundle, directly inside one of
/// the Library locations.
struct RelatedItem {
    /// Absolute path (raw bytes).
    std::string path{};
    /// The localized label of the Library location it lies in, for display.
    std::string label{};
    /// Allocated bytes of the item and everything beneath it.
    std::int64_t size = 0;
    /// The Library location it lies in.
    LibraryFolder folder = LibraryFolder::ApplicationSupport;

    [[nodiscard]] const std::string& id() const { return path; }
    bool operator==(const RelatedItem&) const = default;
};

/// One installed application bundle, measured, with the data it keeps in the Library.
struct InstalledApp {
    /// Absolute path of the ".app" bundle (raw bytes).
    std::string path{};
    /// The name to show: the bundle's display name, its name, or its file name.
    std::string name{};
    /// Absent when the bundle cannot be opened or declares no identifier.
    std::optional<std::string> bundleID{};
    std::optional<std::string> version{};
    /// Allocated bytes of the bundle tree.
    std::int64_t appSize = 0;
    /// Largest first.
    std::vector<RelatedItem> related{};
    /// Absent when nothing tells when the application was last used.
    std::optional<Timestamp> lastUsed{};
    /// The identifier begins with "com.apple.".
    bool isApple = false;
    /// The bundle holds a store receipt (Contents/_MASReceipt).
    bool isAppStore = false;

    [[nodiscard]] const std::string& id() const { return path; }

    [[nodiscard]] std::int64_t relatedSize() const {
        std::int64_t total = 0;
        for (const RelatedItem& item : related) {
            total += item.size;
        }
        return total;
    }
    [[nodiscard]] std::int64_t totalSize() const { return appSize + relatedSize(); }
    /// `lastUsed`, or `distantPast` for an application never seen in use.
    [[nodiscard]] Timestamp lastUsedSortDate() const { return lastUsed.value_or(distantPast); }

    bool operator==(const InstalledApp&) const = default;
};

} // namespace dorvale

template <>
struct std::hash<dorvale::RelatedItem> {
    std::size_t operator()(const dorvale::RelatedItem& item) const noexcept {
        std::size_t value = std::hash<std::string>{}(item.path);
        value = value * 31 + std::hash<std::string>{}(item.label);
        value = value * 31 + std::hash<std::int64_t>{}(item.size);
        value = value * 31 + std::hash<dorvale::LibraryFolder>{}(item.folder);
        return value;
    }
};

template <>
struct std::hash<dorvale::InstalledApp> {
    std::size_t operator()(const dorvale::InstalledApp& app) const noexcept {
        std::size_t value = std::hash<std::string>{}(app.path);
        const auto mix = [&value](std::size_t next) {
            value = value * 31 + next;
        };
        // An optional contributes a presence flag and then its value, so that an absent
        // field and an empty one hash apart.
        const auto mixOptional = [&mix](const auto& field) {
            mix(field.has_value() ? 1 : 0);
            if (field) {
                mix(std::hash<std::remove_cvref_t<decltype(*field)>>{}(*field));
            }
        };
        mix(std::hash<std::string>{}(app.name));
        mixOptional(app.bundleID);
        mixOptional(app.version);
        mix(std::hash<std::int64_t>{}(app.appSize));
        mix(app.related.size());
        for (const dorvale::RelatedItem& item : app.related) {
            mix(std::hash<dorvale::RelatedItem>{}(item));
        }
        mixOptional(app.lastUsed);
        mix(app.isApple ? 1 : 0);
        mix(app.isAppStore ? 1 : 0);
        return value;
    }
};
