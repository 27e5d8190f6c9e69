#include "app/RunInBackground.hpp"

#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QtTest>

#include <future>
#include <memory>
#include <vector>

namespace dorvale {
namespace {

// A continuation that counts the copies made of it; a continuation may hold much.
struct CountedCopies {
    explicit CountedCopies(std::shared_ptr<int> copies, std::shared_ptr<bool> called)
        : copies(std::move(copies))
        , called(std::move(called)) {}
    CountedCopies(const CountedCopies& other)
        : copies(other.copies)
        , called(other.called) {
        ++*copies;
    }
    CountedCopies(CountedCopies&&) = default;
    CountedCopies& operator=(const CountedCopies&) = delete;
    CountedCopies& operator=(CountedCopies&&) = delete;
    ~CountedCopies() = default;
    void operator()(int) const { *called = true; }

    std::shared_ptr<int> copies;
    std::shared_ptr<bool> called;
};

class RunInBackgroundTest final : public QObject {
    Q_OBJECT

private slots:
    void workRunsOnAWorkerAndItsValueComesBackOnTheGuiThread() {
        QObject context;
        QThread* workThread = nullptr;
        QThread* thenThread = nullptr;
        std::unique_ptr<int> received;
        runInBackground(
            &context,
            [&workThread] {
                workThread = QThread::currentThread();
                return std::make_unique<int>(42);
            },
            [&](std::unique_ptr<int> value) {
                thenThread = QThread::currentThread();
                received = std::move(value);
            });
        QTRY_VERIFY(received != nullptr);
        QCOMPARE(*received, 42);
        QVERIFY(workThread != nullptr && workThread != QCoreApplication::instance()->thread());
        QCOMPARE(thenThread, QCoreApplication::instance()->thread());
    }

    void theContinuationIsMovedNeverCopied() {
        QObject context;
        auto copies = std::make_shared<int>(0);
        auto called = std::make_shared<bool>(false);
        runInBackground(
            &context, [] { return 1; }, CountedCopies(copies, called));
        QTRY_VERIFY(*called);
        QCOMPARE(*copies, 0);
    }

    void reportsArriveInOrderBeforeTheResult() {
        QObject context;
        const QPointer<QObject> guard(&context);
        std::vector<int> seen;
        runInBackground(
            &context,
            [guard, &seen] {
                for (int report = 1; report <= 3; ++report) {
                    postToGui(guard, [&seen, report] { seen.push_back(report); });
                }
                return 4;
            },
            [&seen](int result) { seen.push_back(result); });
        QTRY_COMPARE(seen.size(), std::size_t{4});
        QCOMPARE(seen, (std::vector<int>{1, 2, 3, 4}));
    }

    void aResultForAContextThatDiedIsDropped() {
        auto context = std::make_unique<QObject>();
        const QPointer<QObject> guard(context.get());
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        bool continued = false;
        bool reported = false;
        runInBackground(
            context.get(),
            [released, guard, &reported] {
                released.wait();
                postToGui(guard, [&reported] { reported = true; });
                return 1;
            },
            [&continued](int) { continued = true; });
        context.reset();
        release.set_value();
        QVERIFY(workerPool().waitForDone(30'000));
        QCoreApplication::sendPostedEvents();
        QVERIFY(!continued);
        QVERIFY(!reported);
    }
};

} // namespace

DORVALE_QT_TEST(RunInBackgroundTest)

} // namespace dorvale

#include "RunInBackgroundTest.moc"
