#include "widgets/DiskRing.hpp"

#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"

#include <QAbstractAnimation>
#include <QRegularExpression>
#include <QVariantAnimation>
#include <QtTest>

#include <limits>

namespace dorvale {

namespace {

// Shows the arc as it stands once the ring has appeared.
void finishAppearing(DiskRing& ring) {
    for (QVariantAnimation* animation : ring.findChildren<QVariantAnimation*>()) {
        animation->setCurrentTime(animation->totalDuration());
    }
}

} // namespace

class DiskRingTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void theFractionIsTheUsedShareHeldWithinTheCircle_data() {
        QTest::addColumn<qint64>("used");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << qint64(0) << qint64(100) << 0.0 << 0;
        QTest::newRow("half") << qint64(50) << qint64(100) << 0.5 << 500;
        QTest::newRow("full") << qint64(100) << qint64(100) << 1.0 << 1000;
        QTest::newRow("over full") << qint64(150) << qint64(100) << 1.0 << 1000;
        QTest::newRow("negative used") << qint64(-5) << qint64(100) << 0.0 << 0;
        QTest::newRow("no total") << qint64(50) << qint64(0) << 0.0 << 0;
        QTest::newRow("negative total") << qint64(50) << qint64(-100) << 0.0 << 0;
        QTest::newRow("largest figures") << std::numeric_limits<qint64>::max()
                                         << std::numeric_limits<qint64>::max() << 1.0 << 1000;
    }

    void theFractionIsTheUsedShareHeldWithinTheCircle() {
        QFETCH(qint64, used);
        QFETCH(qint64, total);
        QFETCH(double, fraction);
        QFETCH(int, value);
        DiskRing ring;
        ring.setUsage(used, total);
        QCOMPARE(ring.fraction(), fraction);
        // Assistive technology reads the share from the progress bar's value.
        QCOMPARE(ring.value(), value);
    }

    void theArcEndsInTheDangerColourOnlyAboveNineTenths() {
        QCOMPARE(DiskRing::endColor(0.9), Theme::accent());
        QCOMPARE(DiskRing::endColor(0.9001), Theme::danger());
        QCOMPARE(DiskRing::endColor(1.0), Theme::danger());
    }

    void theArcGrowsFromNothingTheFirstTimeTheRingShows() {
        QWidget window;
        auto* ring = new DiskRing(&window);
        ring->setGeometry(0, 0, 54, 54);
        ring->setUsage(75, 100);
        QCOMPARE(ring->shownFraction(), 0.0);
        window.show();
        QCOMPARE(ring->shownFraction(), 0.0);
        finishAppearing(*ring);
        QCOMPARE(ring->shownFraction(), 0.75);
        // Shown again later, it stays at its share.
        window.hide();
        window.show();
        QCOMPARE(ring->shownFraction(), 0.75);
        ring->setUsage(20, 100);
        QCOMPARE(ring->shownFraction(), 0.2);
    }

    void aSmallRingDrawsAThinnerLine() {
        DiskRing ring;
        ring.resize(250, 250);
        QCOMPARE(ring.lineWidth(), 14.0);
        ring.resize(54, 54);
        QVERIFY(ring.lineWidth() < 8);
        QVERIFY(ring.lineWidth() > 6);
    }
};

DORVALE_QT_TEST(DiskRingTest)

} // namespace dorvale

#include "DiskRingTest.moc"
