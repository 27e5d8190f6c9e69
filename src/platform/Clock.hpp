#pragma once

namespace dorvale {

/// Seconds since 1970-01-01 00:00 UTC: the unit of every date the program keeps.
using Timestamp = double;

inline constexpr Timestamp secondsPerDay = 86'400;

/// 2001-01-01 00:00 UTC, from which property lists and the deletion history file count
/// their dates.
inline constexpr Timestamp referenceDate = 978'307'200;

/// Where engines read the current time, so tests can set it.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual Timestamp now() const = 0;

    /// The wall clock.
    [[nodiscard]] static const Clock& system();
};

} // namespace dorvale
