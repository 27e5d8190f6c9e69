#include "widgets/Throttle.hpp"

#include <utility>

namespace dorvale {

Throttle::Throttle(std::chrono::milliseconds interval, std::function<void()> update,
                   QObject* parent)
    : QObject(parent)
    , m_interval(interval)
    , m_update(std::move(update)) {
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, &Throttle::run);
}

void Throttle::request() {
    if (m_pending.isActive()) {
        return;
    }
    const auto elapsed =
        std::chrono::milliseconds(m_sinceRun.isValid() ? m_sinceRun.elapsed() : m_interval.count());
    if (elapsed >= m_interval) {
        run();
    } else {
        m_pending.start(m_interval - elapsed);
    }
}

void Throttle::run() {
    m_sinceRun.start();
    m_update();
}

} // namespace dorvale
