#include "app/RunInBackground.hpp"

#include <QCoreApplication>

namespace dorvale {

namespace {

class WorkerPool final : public QThreadPool {
public:
    WorkerPool() { setMaxThreadCount(16); }
};

} // namespace

QThreadPool& workerPool() {
    static WorkerPool pool;
    return pool;
}

void postToGui(QPointer<QObject> context, std::function<void()> task) {
    // The application object lives on the GUI thread for the whole run, so it receives the
    // task there; the context is looked at only when the task comes up.
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        application,
        [context = std::move(context), task = std::move(task)] {
            if (!context.isNull()) {
                task();
            }
        },
        Qt::QueuedConnection);
}

} // namespace dorvale
