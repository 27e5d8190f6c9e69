#include "analysis/CompositionCard.hpp"

#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DonutChart.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/SegmentedBar.hpp"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;
using test::TreeBuilder;

constexpr std::int64_t gb = 1'000'000'000;

// A scan of 3 GB of video and 1 GB of documents, 4 GB in all.
std::shared_ptr<ScanResult> mixedScan(const std::string& root) {
    TreeBuilder tree(root);
    tree.file(tree.root(), "clip.mov", 3 * gb);
    tree.file(tree.root(), "notes.pdf", gb);
    return std::make_shared<ScanResult>(tree.finish());
}

struct Subject {
    explicit Subject(ShellFixture& f)
        : state(f.makeState())
        , card(nullptr) {}

    CompositionCard* show(ShellFixture& f) {
        card = f.show(new CompositionCard(state), {900, 600});
        return card;
    }

    AppState& state;
    CompositionCard* card;
};

QStringList segmentIds(const SegmentedBar& bar) {
    QStringList ids;
    for (const Segment& segment : bar.segments()) {
        ids.append(segment.id);
    }
    return ids;
}

void enter(QWidget& row) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&row, &event);
}

void leave(QWidget& row) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&row, &event);
}

} // namespace

class CompositionCardTest : public QObject {
    Q_OBJECT

private slots:
    void sharesFollowWhatWasScannedAndTheVolume() {
        const VolumeInfo volume{"Disk", 500 * gb, 120 * gb, 120 * gb};
        const VolumeInfo smallVolume{"Disk", 5 * gb, 2 * gb, 2 * gb};
        struct Case {
            const char* what;
            ScanTarget target;
            std::optional<VolumeInfo> volume;
            std::int64_t other;
            std::int64_t barTotal;
        };
        const std::vector<Case> cases = {
            {"home folder", ScanTarget::home(), volume, 0, 4 * gb},
            {"whole disk", ScanTarget::wholeDisk(), volume, 376 * gb, 500 * gb},
            {"whole disk, used not above scanned", ScanTarget::wholeDisk(), smallVolume, 0, 5 * gb},
            {"whole disk without the volume", ScanTarget::wholeDisk(), std::nullopt, 0, 4 * gb},
        };
        for (const Case& c : cases) {
            ShellFixture f;
            f.fixture.volume = c.volume;
            Subject t(f);
            test::AppStateAccess(t.state).setScan(mixedScan(f.fixture.locations.home), c.target);
            CompositionCard* card = t.show(f);
            QCOMPARE(CompositionCard::macOSAndOtherBytes(t.state), c.other);
            QCOMPARE(card->composition().barTotal, c.barTotal);
            QCOMPARE(card->composition().total, 4 * gb + c.other);
            QStringList segments{QStringLiteral("Video"), QStringLiteral("Documents")};
            if (c.other > 0) {
                segments.append(QStringLiteral("macos"));
            }
            QCOMPARE(segmentIds(*card->bar()), segments);
            QCOMPARE(card->donut()->sectors().size(), std::size_t(segments.size()));
            QCOMPARE(card->legendRows().size(), std::size_t{2});
            QCOMPARE(card->otherRow() != nullptr, c.other > 0);
        }
    }

    // The share describes the result on screen: a later request for the whole disk that was
    // refused, cancelled or failed changes nothing.
    void aRequestedTargetIsNotTheScannedOne() {
        ShellFixture f;
        Subject t(f);
        test::AppStateAccess(t.state).setScan(mixedScan(f.fixture.locations.home),
                                              ScanTarget::home());
        test::AppStateAccess(t.state).setScanTarget(ScanTarget::wholeDisk());
        CompositionCard* card = t.show(f);
        QCOMPARE(card->composition().otherBytes, 0);
        QVERIFY(card->otherRow() == nullptr);
    }

    void legendPercentagesAreSharesOfTheTotalWithTheSystemShare() {
        ShellFixture f;
        f.fixture.volume = VolumeInfo{"Disk", 500 * gb, 492 * gb, 492 * gb};
        Subject t(f);
        test::AppStateAccess(t.state).setScan(mixedScan(f.fixture.locations.home),
                                              ScanTarget::wholeDisk());
        CompositionCard* card = t.show(f);
        // 8 GB used: 3 GB of video is 37.5 %, shown without a fraction.
        QVERIFY(card->legendRows().front()->accessibleName().startsWith(
            QStringLiteral("Video, 38%, 3 GB")));
        QVERIFY(card->otherRow()->isVisible());
    }

    void anEmptyScanDrawsNothing() {
        ShellFixture f;
        Subject t(f);
        TreeBuilder tree(f.fixture.locations.home);
        tree.folder(tree.root(), "empty");
        test::AppStateAccess(t.state).setScan(std::make_shared<ScanResult>(tree.finish()),
                                              ScanTarget::home());
        CompositionCard* card = t.show(f);
        QCOMPARE(card->composition().total, 0);
        QVERIFY(card->legendRows().empty());
        QVERIFY(card->bar()->placements().empty());
        QVERIFY(card->donut()->placements().empty());
        QCOMPARE(card->donut()->centreFigure(), QStringLiteral("Zero KB"));
        QCOMPARE(card->donut()->centreCaption(), QStringLiteral("Total"));
    }

    void hoverHighlightsTheRowUnderThePointer() {
        ShellFixture f;
        f.fixture.volume = VolumeInfo{"Disk", 500 * gb, 120 * gb, 120 * gb};
        Subject t(f);
        test::AppStateAccess(t.state).setScan(mixedScan(f.fixture.locations.home),
                                              ScanTarget::wholeDisk());
        CompositionCard* card = t.show(f);
        RowButton* video = card->legendRows()[0];
        RowButton* documents = card->legendRows()[1];
        DonutChart* donut = card->donut();
        QCOMPARE(donut->centreCaption(), QStringLiteral("Total"));

        enter(*video);
        enter(*documents);
        leave(*video);
        QCOMPARE(card->selected(), std::optional(StorageBucket::Documents));
        QCOMPARE(donut->centreFigure(), QStringLiteral("1 GB"));
        QCOMPARE(donut->centreCaption(), QStringLiteral("Documents"));
        QCOMPARE(donut->shownOpacity(QStringLiteral("Documents")), 1.0);
        QCOMPARE(donut->shownOpacity(QStringLiteral("Video")), DonutChart::fadedOpacity);
        QVERIFY(std::abs(donut->shownOpacity(QStringLiteral("macos")) - 0.4) < 0.01);
        QVERIFY(documents->fill().isValid());
        QVERIFY(!video->fill().isValid());

        leave(*documents);
        QCOMPARE(card->selected(), std::nullopt);
        QCOMPARE(donut->shownOpacity(QStringLiteral("Video")), 1.0);
        QCOMPARE(donut->centreCaption(), QStringLiteral("Total"));
    }

    void aClickShowsTheCategoryInTheLargeFiles() {
        ShellFixture f;
        Subject t(f);
        test::AppStateAccess(t.state).setScan(mixedScan(f.fixture.locations.home),
                                              ScanTarget::home());
        t.state.setLargeFilter(FileFilter{.query = "old", .minSize = 5, .hideProtected = true});
        CompositionCard* card = t.show(f);
        QSignalSpy filters(&t.state, &AppState::largeFilterChanged);
        QSignalSpy sections(&t.state, &AppState::sectionChanged);
        QTest::mouseClick(card->legendRows()[1], Qt::LeftButton);
        QCOMPARE(t.state.largeFilter(), FileFilter{.bucket = StorageBucket::Documents});
        QCOMPARE(t.state.section(), AppSection::Large);
        QCOMPARE(filters.count(), 1);
        QCOMPARE(sections.count(), 1);
    }
};

DORVALE_QT_TEST(CompositionCardTest)

} // namespace dorvale

#include "CompositionCardTest.moc"
