#pragma once

#include "platform/Clock.hpp"

#include <atomic>

namespace dorvale::test {

/// A clock that moves on by a fixed step at every reading, from whichever thread, so that
/// what waits for time to pass comes at known readings.
class SteppingClock final : public Clock {
public:
    explicit SteppingClock(double step)
        : m_step(step) {}
    [[nodiscard]] Timestamp now() const override { return m_now.fetch_add(m_step) + m_step; }

private:
    double m_step;
    mutable std::atomic<double> m_now = 1'700'000'000;
};

} // namespace dorvale::test
