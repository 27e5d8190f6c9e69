#pragma once

#include "model/HistoryEntry.hpp"
#include "platform/Locations.hpp"
#include "platform/Result.hpp"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace dorvale {

/// The record of every removed item, newest first, kept in memory and in one JSON file.
/// It is read once when the store is made and rewritten in full after every change. An
/// item that went to the Trash can be moved back through the store. Used from one thread
/// (the GUI thread); the file is read and written synchronously.
///
/// The file is a compact JSON array of entry objects with the keys "id" (upper-case
/// UUID), "date" (seconds since 2001-01-01 00:00 UTC), "originalPath", "trashPath" (left
/// out when absent), "size" and "restored", in that order, with "/" written as "\/". A
/// path that is not valid UTF-8 is written with each bad sequence replaced and its exact
/// bytes in an extra key ("originalPathBytes", "trashPathBytes", base64) that other
/// readers ignore. Reading is strict: one malformed entry makes the whole file unreadable.
class DeletionHistory {
public:
    /// The most entries kept after a record.
    static constexpr std::size_t maximumEntries = 5000;

    /// Told after every change of `entries()`.
    using EntriesObserver = std::function<void()>;

    /// The history file in the program's data folder.
    [[nodiscard]] static std::string defaultLocation(const Locations& locations);

    /// Creates the file's folder if needed (a failure is ignored) and loads the file. A
    /// missing file gives an empty history. A file that exists but cannot be read or
    /// decoded is renamed aside ("history.json.unreadable", or ".unreadable.2" and on when
    /// that name is taken) so that no later save destroys it, and the history starts empty;
    /// when it cannot be renamed, the store never writes over it.
    explicit DeletionHistory(std::string fileLocation);

    [[nodiscard]] const std::vector<HistoryEntry>& entries() const { return m_entries; }
    [[nodiscard]] const std::string& fileLocation() const { return m_fileLocation; }
    void setEntriesObserver(EntriesObserver observer) { m_observer = std::move(observer); }

    /// Puts `newEntries` in front, in their given order, keeps the newest `maximumEntries`
    /// and saves (also when `newEntries` is empty).
    void record(std::vector<HistoryEntry> newEntries);

    /// Moves the entry's item from the Trash back to its original path, creating missing
    /// parent folders, then marks the listed entry with the same id as restored and saves.
    /// An entry without a Trash path is left alone. On failure nothing is marked or saved;
    /// in particular an item now standing at the original path is never replaced.
    [[nodiscard]] Result<void> restore(const HistoryEntry& entry);

    /// Empties the history and saves, leaving an empty array in the file.
    void clear();

    /// Rewrites the file atomically from `entries()`. Failures are dropped: the history in
    /// memory stays as it is.
    void save() const;

private:
    void load();
    void setAside();
    void changed() const;

    std::string m_fileLocation;
    std::vector<HistoryEntry> m_entries;
    EntriesObserver m_observer;
    // False when an unreadable file could not be renamed aside and must not be overwritten.
    bool m_mayWrite = true;
};

} // namespace dorvale
