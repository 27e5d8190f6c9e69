#pragma once

#include "platform/AdministratorRunner.hpp"
#include "platform/Clock.hpp"
#include "platform/Process.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One local snapshot of the start-up disk. A plain value, identified by `name`.
struct LocalSnapshot {
    /// The name as the snapshot tool printed it, without surrounding blanks.
    std::string name{};
    /// The time of the name's date stamp; nothing when it has none or it is no valid time.
    std::optional<Timestamp> date{};

    friend bool operator==(const LocalSnapshot&, const LocalSnapshot&) = default;
};

/// Lists and deletes the local snapshots through the system's snapshot tool,
/// /usr/bin/tmutil. Where the tool is missing (as on Linux) it cannot be started, which
/// yields an empty list at once.
///
/// Threads: `list` waits for the tool and `deleteSnapshot` for the administrator prompt and
/// the tool: call them on a worker, never on the GUI thread. The other calls return at once.
class LocalSnapshots {
public:
    /// The snapshots of "/", newest first; those without a date come last. Snapshots of
    /// the same time keep the tool's order. Only names beginning with "com.apple." are
    /// taken; nothing at all when the tool prints nothing or cannot be started.
    [[nodiscard]] static std::vector<LocalSnapshot>
    list(const ProcessRunner& runner = ProcessRunner::system());

    /// Deletes the snapshot with administrator rights, passing its date stamp to the tool.
    /// Nothing when the deletion succeeded; otherwise the sentence to show: "Unrecognised
    /// snapshot name." (nothing was run), "Cancelled." (the prompt was dismissed), what the
    /// tool said, or "Couldn't delete the snapshot.".
    [[nodiscard]] static std::optional<std::string>
    deleteSnapshot(const LocalSnapshot& snapshot,
                   const AdministratorRunner& runner = AdministratorRunner::system());

    /// The fourth of the name's dot-separated pieces (empty pieces not counted), which holds
    /// the snapshot's date; nothing when there are fewer than four.
    [[nodiscard]] static std::optional<std::string_view> dateStamp(std::string_view name);

    /// A stamp "yyyy-MM-dd-HHmmss" read as a time of the local time zone; nothing unless
    /// it has exactly that shape and names a real date and time of day.
    [[nodiscard]] static std::optional<Timestamp> parseDate(std::string_view stamp);

    /// Whether the stamp may be handed to the tool: only number characters and "-", and
    /// not beginning with "-", which the tool would read as an option.
    [[nodiscard]] static bool isAcceptableStamp(std::string_view stamp);
};

} // namespace dorvale
