#pragma once

#include "platform/Clock.hpp"
#include "platform/Uuid.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dorvale {

/// One item the deletion engine removed.
struct HistoryEntry {
    Uuid id{};
    /// When the item was removed.
    Timestamp date = 0;
    /// The absolute path the item had before its removal (raw bytes).
    std::string originalPath{};
    /// Where the item lies in the Trash's "files" folder after a move to the Trash; absent
    /// for an outright deletion, which cannot be restored.
    std::optional<std::string> trashPath{};
    /// Bytes credited for the item.
    std::int64_t size = 0;
    /// Set once the item has been moved back.
    bool restored = false;

    bool operator==(const HistoryEntry&) const = default;
};

} // namespace dorvale

template <>
struct std::hash<dorvale::HistoryEntry> {
    std::size_t operator()(const dorvale::HistoryEntry& entry) const noexcept {
        std::size_t value = std::hash<dorvale::Uuid>{}(entry.id);
        const auto mix = [&value](std::size_t next) {
            value = value * 31 + next;
        };
        mix(std::hash<double>{}(entry.date));
        mix(std::hash<std::string>{}(entry.originalPath));
        mix(entry.trashPath ? std::hash<std::string>{}(*entry.trashPath) + 1 : 0);
        mix(std::hash<std::int64_t>{}(entry.size));
        mix(entry.restored ? 1 : 0);
        return value;
    }
};
