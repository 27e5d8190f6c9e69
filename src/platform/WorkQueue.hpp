#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace dorvale {

/// Tasks shared by a fixed set of workers that also make new tasks while they work, such as
/// the folders of a walk. Each worker starts busy with work of its own, then takes one task
/// at a time; the work is over once no task is queued and every worker waits for one, or once
/// the queue is stopped. Tasks are taken newest first, so the work stays near where it last
/// was.
template <class Task>
class WorkQueue {
public:
    explicit WorkQueue(std::size_t workers)
        : m_busy(workers) {}

    /// Queues a task and wakes a waiting worker.
    void push(Task task) {
        {
            const std::lock_guard guard(m_lock);
            if (m_stopped) {
                return;
            }
            m_tasks.push_back(std::move(task));
            m_queued.store(m_tasks.size(), std::memory_order_relaxed);
        }
        m_changed.notify_one();
    }

    /// The next task for a worker that has finished what it was doing; waits while other
    /// workers may still queue one. None when the work is over.
    [[nodiscard]] std::optional<Task> take() {
        std::unique_lock guard(m_lock);
        --m_busy;
        m_waiting.fetch_add(1, std::memory_order_relaxed);
        m_changed.wait(guard, [&] { return m_stopped || !m_tasks.empty() || m_busy == 0; });
        m_waiting.fetch_sub(1, std::memory_order_relaxed);
        if (m_stopped || m_tasks.empty()) {
            guard.unlock();
            m_changed.notify_all();
            return std::nullopt;
        }
        Task task = std::move(m_tasks.back());
        m_tasks.pop_back();
        m_queued.store(m_tasks.size(), std::memory_order_relaxed);
        ++m_busy;
        return task;
    }

    /// Whether a worker waits for a task that nobody has queued yet: a worker that would go
    /// on with a task itself may hand it over instead. Cheap enough to ask often.
    [[nodiscard]] bool wanted() const {
        return m_waiting.load(std::memory_order_relaxed) > m_queued.load(std::memory_order_relaxed);
    }

    /// Drops the queued tasks and ends the work: every `take` from now on gives none.
    void stop() {
        {
            const std::lock_guard guard(m_lock);
            m_stopped = true;
            m_tasks.clear();
            m_queued.store(0, std::memory_order_relaxed);
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Task> m_tasks;
    std::size_t m_busy;
    bool m_stopped = false;
    std::atomic<std::size_t> m_waiting = 0;
    std::atomic<std::size_t> m_queued = 0;
};

/// Runs `work(index)` on `threads` threads at once, index 0 on the calling thread, and
/// returns when all have returned. `work` must not throw.
template <class Work>
void runOnThreads(std::size_t threads, const Work& work) {
    std::vector<std::jthread> helpers;
    helpers.reserve(threads > 1 ? threads - 1 : 0);
    for (std::size_t index = 1; index < threads; ++index) {
        helpers.emplace_back([&work, index] { work(index); });
    }
    work(std::size_t{0});
}

} // namespace dorvale
