#pragma once

#include "platform/Clock.hpp"

namespace dorvale::test {

/// A clock that always reads the same time.
class FixedClock final : public Clock {
public:
    explicit FixedClock(Timestamp now)
        : m_now(now) {}
    [[nodiscard]] Timestamp now() const override { return m_now; }

private:
    Timestamp m_now;
};

} // namespace dorvale::test
