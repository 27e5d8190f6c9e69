#include "widgets/SizeCell.hpp"

#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"

#include <QtTest>

#include <limits>

namespace dorvale {

class SizeCellTest : public QObject {
    Q_OBJECT

private slots:
    // A 264 pixel cell with a 64 pixel text leaves a 192 pixel track after the 8 pixel gap.
    void theFillFollowsTheClampedFraction_data() {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<qreal>("fill");
        QTest::newRow("zero still marks the row") << 0.0 << qreal(2);
        QTest::newRow("a tiny share still marks the row") << 0.001 << qreal(2);
        QTest::newRow("a quarter") << 0.25 << qreal(48);
        QTest::newRow("the largest") << 1.0 << qreal(192);
        QTest::newRow("above the largest fills the track") << 1.7 << qreal(192);
        QTest::newRow("negative") << -0.5 << qreal(2);
        QTest::newRow("0 / 0 of an empty list")
            << std::numeric_limits<double>::quiet_NaN() << qreal(2);
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << qreal(2);
    }

    void theFillFollowsTheClampedFraction() {
        QFETCH(double, fraction);
        QFETCH(qreal, fill);
        const SizeCell::Geometry geometry = SizeCell::layout(QRectF(0, 0, 264, 20), 64, fraction);
        QCOMPARE(geometry.track, QRectF(72, 7.5, 192, 5));
        QCOMPARE(geometry.fill, QRectF(72, 7.5, fill, 5));
    }

    void theTextTakesAtLeastItsMinimumWidth() {
        const SizeCell cell(1'500'000'000'000, 0.5, Theme::blue());
        const SizeCell::Geometry geometry = cell.geometryFor(QRectF(0, 0, 300, 20));
        QVERIFY(geometry.text.width() >= 64);
        QCOMPARE(geometry.track.left(), geometry.text.right() + 8);
        const SizeCell narrow(1, 0.5, Theme::blue());
        QCOMPARE(narrow.geometryFor(QRectF(0, 0, 300, 20)).text.width(), qreal(64));
    }

    void aNegativeSizeShowsAsZero() {
        QCOMPARE(SizeCell(-5, 0, Theme::blue()).sizeText(), QStringLiteral("Zero KB"));
        QCOMPARE(SizeCell(1'500'000, 0, Theme::blue()).sizeText(), QStringLiteral("1.5 MB"));
    }

    void aCellTooNarrowForItsBarKeepsTheMark() {
        const SizeCell::Geometry geometry = SizeCell::layout(QRectF(0, 0, 50, 20), 64, 1.0);
        QCOMPARE(geometry.track.width(), qreal(0));
        QCOMPARE(geometry.fill.width(), qreal(2));
    }
};

DORVALE_QT_TEST(SizeCellTest)

} // namespace dorvale

#include "SizeCellTest.moc"
