#pragma once

#include "platform/Clock.hpp"
#include "platform/Uuid.hpp"

#include <cstdint>
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
