#include "widgets/DiskRing.hpp"

#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"

#include <QAbstractAnimation>
#include <QDir>
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

    // With DORVALE_GALLERY_DIR set, the rings are written there to be looked at.
    void rendersEveryShare() {
        QWidget page;
        page.resize(4 * 270 + 20, 360);
        const qint64 shares[] = {0, 50, 100, 130};
        int x = 10;
        for (const qint64 used : shares) {
            auto* large = new DiskRing(&page);
            large->setGeometry(x, 10, 250, 250);
            large->setUsage(used, 100);
            auto* small = new DiskRing(&page);
            small->setGeometry(x + 98, 280, 54, 54);
            small->setUsage(used, 100);
            x += 270;
        }
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (DiskRing* ring : page.findChildren<DiskRing*>()) {
            finishAppearing(*ring);
        }
        const QPixmap picture = page.grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("DORVALE_GALLERY_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            QVERIFY(picture.save(QStringLiteral("%1/disk-rings.png").arg(folder)));
        }
    }
};

DORVALE_QT_TEST(DiskRingTest)

} // namespace dorvale

#include "DiskRingTest.moc"
