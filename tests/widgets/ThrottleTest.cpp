#include "widgets/Throttle.hpp"

#include "support/qt/QtTests.hpp"

#include <QtTest>

namespace dorvale {

class ThrottleTest : public QObject {
    Q_OBJECT

private slots:
    // However many requests come within one interval, they make one more run at its end.
    void requestsWithinAnIntervalFoldIntoOneRun() {
        int runs = 0;
        Throttle throttle(std::chrono::milliseconds(200), [&runs] { ++runs; });
        throttle.request();
        QCOMPARE(runs, 1);
        for (int i = 0; i < 1000; ++i) {
            throttle.request();
        }
        QCOMPARE(runs, 1);
        QTRY_COMPARE(runs, 2);
    }
};

DORVALE_QT_TEST(ThrottleTest)

} // namespace dorvale

#include "ThrottleTest.moc"
