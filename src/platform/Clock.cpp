#include "platform/Clock.hpp"

#include <chrono>

namespace dorvale {

namespace {

class SystemClock final : public Clock {
public:
    Timestamp now() const override {
        using namespace std::chrono;
        return duration<double>(system_clock::now().time_since_epoch()).count();
    }
};

} // namespace

const Clock& Clock::system() {
    static const SystemClock clock;
    return clock;
}

} // namespace dorvale
