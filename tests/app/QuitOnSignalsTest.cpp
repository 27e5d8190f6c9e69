#include "app/QuitOnSignals.hpp"

#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QTimer>
#include <QtTest>

#include <signal.h>

namespace dorvale {
namespace {

class QuitOnSignalsTest final : public QObject {
    Q_OBJECT

private slots:
    // Without the handling, the signal would end this very test program.
    void aSignalQuitsTheApplicationThroughItsOwnQuit() {
        for (const int signal : {SIGTERM, SIGINT}) {
            const QuitOnSignals quitOnSignals;
            int quitWorkRuns = 0;
            const QMetaObject::Connection quitWork =
                connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                        [&quitWorkRuns] { ++quitWorkRuns; });
            QTimer::singleShot(0, [signal] { raise(signal); });
            // Only a guard against a signal that never arrives.
            QTimer guard;
            guard.setSingleShot(true);
            connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
            guard.start(60'000);
            QCOMPARE(QCoreApplication::exec(), 0);
            disconnect(quitWork);
            QCOMPARE(quitWorkRuns, 1);
        }
    }
};

} // namespace

DORVALE_QT_TEST(QuitOnSignalsTest)

} // namespace dorvale

#include "QuitOnSignalsTest.moc"
