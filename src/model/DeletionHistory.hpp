#pragma once

#include "model/HistoryEntry.hpp"
#include "platform/FileStamp.hpp"
#include "platform/Locations.hpp"
#include "platform/Result.hpp"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dorvale {

/// The record of every removed item, newest first, kept in memory and in one JSON file.
/// It is read when the store is made. Every change (a record, a restore, a clear) is made to
/// the file as it is on disk at that moment, under an advisory lock on the file's folder, and
/// the result is written atomically and becomes `entries()`: another process on the same file
/// loses no entry. A change whose write fails is kept and written again with the next change
/// and by `flush`, the first failure of a row logged. An item that went to the Trash can be
/// moved back through the store. Used from one thread (the GUI thread); the file is read and
/// written synchronously.
///
/// The file is a compact JSON array of entry objects with the keys "id" (upper-case
/// UUID), "date" (seconds since 2001-01-01 00:00 UTC), "originalPath", "trashPath" (left
/// out when absent), "size" and "restored", in that order, with "/" written as "\/". A
/// path that is not valid UTF-8 is written with each bad sequence replaced and its exact
/// bytes in an extra key ("originalPathBytes", "trashPathBytes", base64) that other
/// readers ignore. Reading is strict: one malformed entry makes the whole file unreadable,
/// and so does a file larger than `maximumFileBytes` or nested deeper than 64 levels. The
/// oldest entries are left out of a write that would grow past `maximumFileBytes`.
class DeletionHistory {
public:
    /// The most entries kept after a record.
    static constexpr std::size_t maximumEntries = 5000;
    /// The largest file read or written: 5,000 entries of some 3,000 bytes each, where one
    /// with the paths people have takes a few hundred.
    static constexpr std::size_t maximumFileBytes = 16 * 1024 * 1024;

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
    /// Writes what is still unwritten (`flush`).
    ~DeletionHistory();
    DeletionHistory(const DeletionHistory&) = delete;
    DeletionHistory& operator=(const DeletionHistory&) = delete;

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

    /// Whether changes are waiting for a write that failed.
    [[nodiscard]] bool hasUnwrittenChanges() const { return !m_unwritten.empty(); }
    /// Writes the changes whose write failed, merged into the file as it is now; the program
    /// calls it as it quits.
    void flush();

private:
    /// One change of the history, kept until it reached the file.
    struct Change {
        bool clear = false;
        std::optional<Uuid> restored{};
        /// Put in front, in their order.
        std::vector<HistoryEntry> recorded{};
    };

    void load();
    void setAside();
    void changed() const;
    static void apply(const Change& change, std::vector<HistoryEntry>& entries);
    void commit(std::optional<Change> change);
    [[nodiscard]] std::vector<HistoryEntry> base();
    void write(std::vector<HistoryEntry>& entries);

    std::string m_fileLocation;
    std::vector<HistoryEntry> m_entries;
    EntriesObserver m_observer;
    // False when an unreadable file could not be renamed aside and must not be overwritten.
    bool m_mayWrite = true;
    // The file as this store last read or wrote it; while it is unchanged, `m_entries` holds
    // all it holds.
    std::optional<FileStamp> m_stamp;
    std::vector<Change> m_unwritten;
    bool m_failureLogged = false;
};

} // namespace dorvale
