#pragma once

#include <QObject>
#include <QPointer>
#include <QRunnable>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

// The one way the application hands work to a worker thread and comes back to the GUI
// thread with its result.
namespace dorvale {

/// The pool of every background job: scans, junk scans, inventories, duplicate searches,
/// deletion runs and administrator prompts. It has 16 threads, because scans, duplicate
/// searches and prompts may hold a thread for minutes and a deletion must not queue behind
/// them.
[[nodiscard]] QThreadPool& workerPool();

/// Runs `task` on the GUI thread, after everything posted to it before, unless `context` has
/// been destroyed by then; then `task` is dropped unrun. May be called from any thread.
/// `context` must have been taken on the GUI thread: a worker copies the pointer it was
/// given but never makes one from an object, and the object is only looked at on the GUI
/// thread. Progress reports and results posted from one worker keep their order.
void postToGui(QPointer<QObject> context, std::function<void()> task);

namespace internal {

template <typename Function>
class PoolJob final : public QRunnable {
public:
    explicit PoolJob(Function function)
        : m_function(std::move(function)) {}
    void run() override { m_function(); }

private:
    Function m_function;
};

} // namespace internal

/// Runs `work()` on the worker pool, then `then(value)` on the GUI thread with the value
/// `work` returned, unless `context` has been destroyed by then (so a late result is
/// dropped). Called on the GUI thread; returns at once.
///
/// `work` captures only values, shared pointers and services that outlive the pool; it reads
/// no tree node, QObject or widget, and never throws. Its value may be move-only. `then`
/// must be copyable, but is only ever moved on its way.
template <typename Work, typename Then>
void runInBackground(QObject* context, Work work, Then then) {
    using Value = std::invoke_result_t<Work&>;
    static_assert(!std::is_void_v<Value>, "the work hands its result to the continuation");
    QPointer<QObject> guard(context);
    auto job = [guard, work = std::move(work), then = std::move(then)]() mutable {
        // Held by pointer so that a move-only value can travel in a copyable task.
        auto value = std::make_shared<Value>(work());
        postToGui(guard, [then = std::move(then), value] { then(std::move(*value)); });
    };
    workerPool().start(new internal::PoolJob<decltype(job)>(std::move(job)));
}

} // namespace dorvale
