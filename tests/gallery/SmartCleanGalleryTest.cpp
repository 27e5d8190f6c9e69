#include "cleanup/SmartCleanFixture.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"

#include <QRegularExpression>
#include <QtTest>

#include <chrono>

namespace dorvale {

namespace {

using namespace std::chrono_literals;
using test::SmartCleanFixture;

// Findings of every group, some of rules that are not safe, of sizes from bytes to terabytes.
std::vector<JunkFinding> everyGroup(const SmartCleanFixture& f) {
    return {
        f.finding("user-caches", 40, 120'000'000),   f.finding("old-installers", 3, 900'000'000),
        f.finding("trash", 2, 1'500'000'000'000),    f.finding("user-logs", 5, 2'000),
        f.finding("mail-downloads", 1, 4'000'000),   f.finding("xcode-derived", 9, 3'000'000'000),
        f.finding("xcode-archives", 1, 800'000'000), f.finding("dot-cache", 2, 50'000'000),
        f.finding("ios-backups", 1, 60'000'000'000), f.finding("system-logs", 1, 10'000)};
}

} // namespace

// Draws each stage of the smart clean in the main window at its least and at a large size,
// with nothing cut.
class SmartCleanGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void stages_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void stages() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        for (const bool volume : {true, false}) {
            SmartCleanFixture f;
            if (!volume) {
                f.shell.fixture.volume.reset();
            }
            picture(*show(f, size), volume ? "smart-idle-" + tag : "smart-idle-no-volume-" + tag);
        }
        {
            SmartCleanFixture f;
            f.shell.services.delays.smartScanFloor = 1h;
            RootView* root = show(f, size);
            f.state().startSmartClean();
            picture(*root, "smart-scanning-" + tag);
        }
        {
            SmartCleanFixture f;
            f.junk.answer(everyGroup(f));
            RootView* root = show(f, size);
            f.reachReview();
            picture(*root, "smart-review-" + tag);
        }
        {
            SmartCleanFixture f;
            RootView* root = show(f, size);
            f.reachReview();
            picture(*root, "smart-review-empty-" + tag);
        }
        {
            SmartCleanFixture f;
            f.shell.services.delays.smartCleanFloor = 1h;
            const JunkFinding caches = f.finding("user-caches", 1, 4096);
            test::ChosenJunk::writeItems(f.shell.fixture.tree, caches);
            f.junk.answer({caches});
            RootView* root = show(f, size);
            f.reachReview();
            f.state().cleanJunk();
            picture(*root, "smart-cleaning-" + tag);
        }
        {
            SmartCleanFixture f;
            RootView* root = show(f, size);
            DeletionReport report{.freed = 12'345'678'901, .movedToTrash = 987'654'321};
            report.failures.resize(4);
            test::AppStateAccess(f.state()).setLastReport(report);
            test::AppStateAccess(f.state()).setSmartPhase(SmartPhase::Done);
            picture(*root, "smart-done-" + tag);
        }
    }

private:
    static void picture(QWidget& widget, const QString& name) {
        test::finishAnimations(widget);
        test::savePictureWithNothingCut(widget, name);
    }

    static RootView* show(SmartCleanFixture& f, const QSize& size) {
        f.shell.makeState();
        RootView* root = f.shell.show(new RootView(*f.shell.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.shell.window.get());
        return root;
    }
};

DORVALE_QT_TEST(SmartCleanGalleryTest)

} // namespace dorvale

#include "SmartCleanGalleryTest.moc"
