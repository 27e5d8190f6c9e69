#pragma once

#include "model/ScanProgressSnapshot.hpp"
#include "model/ScanResult.hpp"
#include "platform/Clock.hpp"
#include "platform/Locations.hpp"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace dorvale {

/// Allocated bytes and number of non-folder entries beneath a path.
struct DirectorySize {
    std::int64_t bytes = 0;
    std::int64_t count = 0;
};

/// Walks a folder tree once and builds its `FileNode` tree with allocated sizes, hard links
/// counted once, files under 512 KiB folded into their folder, and totals by bucket and kind.
///
/// One scanner serves one scan. `scan` walks on the calling (worker) thread and as many more
/// as the scanner is given, which read folders side by side; the result is the same whatever
/// their number, since it is put together in the order a one-thread walk meets the entries.
/// `cancel` may be called from any other thread while it runs. The walk stays on the file
/// system of the root and never follows symbolic links. Folders are opened relative to their
/// parent's descriptor, so paths of any length are walked, with a bounded number of
/// descriptors per thread, and the working folder is never changed.
class Scanner final {
public:
    /// Called on one of the scan's threads, never on two at once, at most every 0.08 seconds,
    /// with counts that never go down.
    using Progress = std::function<void(const ScanProgressSnapshot&)>;
    /// Folder paths in matching form: without the data-volume prefix.
    using Exclusions = std::set<std::string, std::less<>>;

    /// Paths are matched, classified and reported without `locations.dataVolume` in front,
    /// so a walk of the data volume sees its folders as they are seen from "/". `clock` times
    /// the progress reports and the result; it must outlive the scanner. `threads` is the
    /// number of threads that walk; 0 chooses it for each root (`workerThreadsFor`).
    explicit Scanner(const Locations& locations, const Clock& clock = Clock::system(),
                     std::size_t threads = 0);
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    /// Makes the running scan (or the next one) give up at the next folder each of its
    /// threads enters. A cancelled scanner stays cancelled.
    void cancel();

    /// Walks `rootPath`, skipping the folders whose matching path is in `exclusions` (the root
    /// is never skipped). Nothing when the root is not a folder (a file, a symbolic link,
    /// missing, or not examinable) or when the walk was cancelled.
    /// A root that exists but cannot be listed gives a result with the root flagged
    /// unreadable.
    [[nodiscard]] std::optional<ScanResult> scan(const std::string& rootPath,
                                                 const Exclusions& exclusions = {},
                                                 const Progress& progress = {});

    /// Allocated bytes of everything beneath `path` (folders' own blocks included, each hard
    /// linked file once) and the number of non-folder entries; a file gives its own size and
    /// a count of 1. Entries that cannot be examined are left out; (0, 0) when the path
    /// cannot be walked at all.
    [[nodiscard]] static DirectorySize directorySize(const std::string& path);

private:
    class Walk;

    [[nodiscard]] bool isCancelled() const;

    std::string m_dataVolume;
    const Clock& m_clock;
    std::size_t m_threads;
    std::atomic<bool> m_cancelled = false;
};

} // namespace dorvale
