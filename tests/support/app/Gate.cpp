#include "support/app/Gate.hpp"

#include <condition_variable>
#include <mutex>

namespace dorvale::test {

struct Gate::State {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    int arrivals = 0;
};

Gate::Gate()
    : m_state(std::make_shared<State>()) {}

Gate::~Gate() {
    open();
}

void Gate::open() {
    const std::lock_guard lock(m_state->mutex);
    m_state->open = true;
    m_state->opened.notify_all();
}

std::function<void()> Gate::pass() const {
    return [state = m_state] {
        std::unique_lock lock(state->mutex);
        ++state->arrivals;
        state->opened.wait(lock, [&state] { return state->open; });
    };
}

int Gate::arrivals() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->arrivals;
}

} // namespace dorvale::test
