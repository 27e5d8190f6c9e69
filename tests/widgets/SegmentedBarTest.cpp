#include "widgets/SegmentedBar.hpp"

#include "style/Theme.hpp"
#include "support/qt/QtTests.hpp"

#include <QtTest>

namespace dorvale {

namespace {

std::vector<Segment> threeParts() {
    return {
        {QStringLiteral("apps"), QStringLiteral("Applications"), 500, Theme::blue()},
        {QStringLiteral("docs"), QStringLiteral("Documents"), 300, Theme::teal()},
        {QStringLiteral("junk"), QStringLiteral("Caches"), 200, Theme::lime()},
    };
}

} // namespace

class SegmentedBarTest : public QObject {
    Q_OBJECT

private slots:
    void partsTakeTheirShareLessTheGap() {
        const auto placements = SegmentedBar::layout(threeParts(), 1000, 400, 10);
        QCOMPARE(placements.size(), std::size_t(3));
        QCOMPARE(placements[0].rect, QRectF(0, 0, 198, 10));
        QCOMPARE(placements[1].rect, QRectF(200, 0, 118, 10));
        QCOMPARE(placements[2].rect, QRectF(320, 0, 78, 10));
    }

    void anEmptyTotalDrawsOnlyTheTrack() {
        QVERIFY(SegmentedBar::layout(threeParts(), 0, 400, 10).empty());
        QVERIFY(SegmentedBar::layout(threeParts(), -1, 400, 10).empty());
    }

    // A part worth less than a pixel is left out and takes no gap; the parts after it move up.
    void aPartUnderOnePixelIsNotDrawn() {
        std::vector<Segment> parts = threeParts();
        parts[1].value = 2; // 0.8 pixels of 400 for a total of 1,000
        const auto placements = SegmentedBar::layout(parts, 1000, 400, 10);
        QCOMPARE(placements.size(), std::size_t(2));
        QCOMPARE(placements[0].id, QStringLiteral("apps"));
        QCOMPARE(placements[1].id, QStringLiteral("junk"));
        QCOMPARE(placements[1].rect.left(), qreal(200));
    }

    void aPartAboveTheTotalStopsAtTheFullWidth() {
        std::vector<Segment> parts{threeParts().front()};
        const auto placements = SegmentedBar::layout(parts, 100, 400, 10);
        QCOMPARE(placements.front().rect.width(), qreal(398));
    }

    void hoverDimsTheOtherParts() {
        SegmentedBar bar(threeParts(), 1000, 10);
        bar.resize(400, 10);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTest::mouseMove(&bar, QPoint(250, 5));
        QCOMPARE(bar.hovered(), std::optional(QStringLiteral("docs")));
        QCOMPARE(bar.targetOpacity(QStringLiteral("docs")), 1.0);
        QCOMPARE(bar.targetOpacity(QStringLiteral("apps")), 0.45);
        QCOMPARE(bar.targetOpacity(QStringLiteral("junk")), 0.45);
        QCOMPARE(bar.toolTipFor(QStringLiteral("docs")), QStringLiteral("Documents: 1 KB"));

        QTest::mouseMove(&bar, QPoint(199, 5)); // the gap after the first part
        QCOMPARE(bar.hovered(), std::nullopt);
        QTest::mouseMove(&bar, QPoint(10, 5));
        QCOMPARE(bar.hovered(), std::optional(QStringLiteral("apps")));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&bar, &leave);
        QCOMPARE(bar.hovered(), std::nullopt);
        for (const Segment& segment : bar.segments()) {
            QCOMPARE(bar.targetOpacity(segment.id), 1.0);
        }
    }

    void aPartUnderOnePixelHasNoHoverRegion() {
        std::vector<Segment> parts = threeParts();
        parts[2].value = 1;
        SegmentedBar bar(parts, 1000, 10);
        bar.resize(400, 10);
        // The 0.4 pixel part would start at 320, right after the second part.
        QCOMPARE(bar.segmentAt(QPointF(320.2, 5)), std::nullopt);
        QCOMPARE(bar.segmentAt(QPointF(250, 5)), std::optional(QStringLiteral("docs")));
    }

    void replacingThePartsDropsAVanishedHover() {
        SegmentedBar bar(threeParts(), 1000, 10);
        bar.resize(400, 10);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTest::mouseMove(&bar, QPoint(250, 5));
        QCOMPARE(bar.hovered(), std::optional(QStringLiteral("docs")));
        std::vector<Segment> parts = threeParts();
        parts.erase(parts.begin() + 1);
        bar.setSegments(parts, 700);
        QCOMPARE(bar.hovered(), std::nullopt);
    }

    void theBarDescribesItsPartsToAssistiveTechnology() {
        const SegmentedBar bar(threeParts(), 1000, 10);
        QCOMPARE(bar.accessibleDescription(),
                 QStringLiteral("Applications: 1 KB; Documents: 1 KB; Caches: 1 KB"));
    }
};

DORVALE_QT_TEST(SegmentedBarTest)

} // namespace dorvale

#include "SegmentedBarTest.moc"
