#include "analysis/OverviewView.hpp"

#include "analysis/BiggestFolders.hpp"
#include "analysis/CompositionCard.hpp"
#include "analysis/Recommendations.hpp"
#include "analysis/StatsRow.hpp"
#include "common/FullDiskAccessBanner.hpp"
#include "common/ScanPrompt.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/StatTile.hpp"

#include <QPushButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;
using test::TreeBuilder;

constexpr std::int64_t gb = 1'000'000'000;

struct Page {
    explicit Page(ShellFixture& f)
        : state(f.makeState())
        , page(f.show(new OverviewView(state), {1100, 900})) {}

    template <typename Widget>
    [[nodiscard]] Widget* find(const char* name) const {
        return page->findChild<Widget*>(QString::fromLatin1(name));
    }
    [[nodiscard]] StatTile* tile(const char* name) const { return find<StatTile>(name); }
    // The cards of the column shown now, not those of a column waiting to be deleted.
    template <typename Widget>
    [[nodiscard]] Widget* card() const {
        return page->column() != nullptr ? page->column()->findChild<Widget*>() : nullptr;
    }

    AppState& state;
    OverviewView* page;
};

// Home with ~/Library (a folder of the root, never listed) holding a large cache folder.
std::shared_ptr<ScanResult> homeWithLargeFolder(const std::string& home) {
    TreeBuilder tree(home);
    FileNode* caches = tree.folder(tree.folder(tree.root(), "Library"), "Caches");
    tree.file(caches, "blob.bin", 3 * gb);
    tree.file(tree.root(), "clip.mov", gb);
    return std::make_shared<ScanResult>(tree.finish());
}

} // namespace

class OverviewViewTest : public QObject {
    Q_OBJECT

private slots:
    void withoutAScanOnlyThePromptShows() {
        ShellFixture f;
        Page p(f);
        QVERIFY(p.page->prompt()->isVisible());
        QVERIFY(p.page->column() == nullptr);
        QVERIFY(p.find<QPushButton>("scanDiskButton")->isVisible());
        QVERIFY(p.find<QPushButton>("scanHomeButton")->isVisible());

        test::AppStateAccess(p.state).setScan(f.homeScan(), ScanTarget::home());
        QVERIFY(!p.page->prompt()->isVisible());
        QVERIFY(p.page->column()->isVisible());
    }

    void theSubtitleSaysWhatWasScannedHowFastAndHowMuch() {
        struct Case {
            std::int64_t files;
            double seconds;
            QString subtitle;
        };
        const std::vector<Case> cases = {
            {1'234'567, 12.345, QStringLiteral("Home folder · 1,234,567 files in 12.3 s")},
            {7, 0.96, QStringLiteral("Home folder · 7 files in 1.0 s")},
        };
        for (const Case& c : cases) {
            ShellFixture f;
            Page p(f);
            std::shared_ptr<ScanResult> scan = f.homeScan();
            scan->totalFiles = c.files;
            scan->duration = c.seconds;
            test::AppStateAccess(p.state).setScan(scan, ScanTarget::home());
            // A request that came to nothing names another target; the result is the home's.
            test::AppStateAccess(p.state).setScanTarget(ScanTarget::wholeDisk());
            QCOMPARE(p.find<PageHeader>("pageHeader")->subtitle(), c.subtitle);
        }
    }

    void theScannedTileCountsFoldersOrThoseWithoutAccess() {
        struct Case {
            std::int64_t folders;
            std::int64_t unreadable;
            QString caption;
        };
        const std::vector<Case> cases = {
            {1'234, 0, QStringLiteral("1,234 folders")},
            {1'234, 1, QStringLiteral("1 folders without access")},
            {1'234, 4'321, QStringLiteral("4,321 folders without access")},
        };
        for (const Case& c : cases) {
            ShellFixture f;
            Page p(f);
            std::shared_ptr<ScanResult> scan = homeWithLargeFolder(f.fixture.locations.home);
            scan->totalDirectories = c.folders;
            scan->unreadableDirectories = c.unreadable;
            test::AppStateAccess(p.state).setScan(scan, ScanTarget::home());
            QCOMPARE(p.tile("scannedTile")->value(), QStringLiteral("4 GB"));
            QCOMPARE(p.tile("scannedTile")->caption(), std::optional(c.caption));
        }
    }

    void theVolumeTilesShowOnlyWithTheVolumeAndNeverBelowZero() {
        ShellFixture f;
        f.fixture.volume = std::nullopt;
        Page p(f);
        test::AppStateAccess(p.state).setScan(f.homeScan(), ScanTarget::home());
        for (const char* name : {"usedTile", "freeTile", "purgeableTile"}) {
            QVERIFY(!p.tile(name)->isVisible());
        }
        QVERIFY(p.tile("scannedTile")->isVisible());

        test::AppStateAccess(p.state).setVolume(VolumeInfo{"Disk", 500 * gb, 120 * gb, 150 * gb});
        QVERIFY(p.tile("usedTile")->isVisible());
        QCOMPARE(p.tile("usedTile")->value(), QStringLiteral("380 GB"));
        QCOMPARE(p.tile("usedTile")->caption(), std::optional(QStringLiteral("of 500 GB · 76%")));
        QCOMPARE(p.tile("freeTile")->value(), QStringLiteral("120 GB"));
        QCOMPARE(p.tile("purgeableTile")->value(), QStringLiteral("30 GB"));

        // A volume whose figures contradict each other.
        test::AppStateAccess(p.state).setVolume(VolumeInfo{"Disk", 100 * gb, 120 * gb, 110 * gb});
        QCOMPARE(p.tile("usedTile")->value(), QStringLiteral("Zero KB"));
        QCOMPARE(p.tile("purgeableTile")->value(), QStringLiteral("Zero KB"));
    }

    void theBannerSitsBetweenTheHeaderAndTheTilesWhileAccessIsMissing() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Page p(f);
        test::AppStateAccess(p.state).setScan(f.homeScan(), ScanTarget::home());
        auto* banner = p.page->column()->findChild<FullDiskAccessBanner*>();
        auto* header = p.find<PageHeader>("pageHeader");
        auto* stats = p.find<StatsRow>("statsRow");
        QTRY_VERIFY(banner->isVisible());
        QVERIFY(header->geometry().bottom() < banner->geometry().top());
        QVERIFY(banner->geometry().bottom() < stats->geometry().top());

        test::AppStateAccess(p.state).setHasFullDiskAccess(true);
        QVERIFY(!banner->isVisible());
        QTRY_VERIFY(stats->geometry().top() - header->geometry().bottom() <=
                    Theme::Space::page + 1);
    }

    // Only a published result or a removal rebuilds the column; what else changes on the
    // state is shown in place.
    void progressToastsAndLoadingLeaveTheColumnAlone() {
        ShellFixture f;
        Page p(f);
        test::AppStateAccess(p.state).setScan(homeWithLargeFolder(f.fixture.locations.home),
                                              ScanTarget::home());
        QWidget* column = p.page->column();
        test::AppStateAccess(p.state).setProgress({10, 20, "/x"});
        p.state.setToast(Toast{.message = QStringLiteral("Done")});
        emit p.state.junkLoadingChanged();
        emit p.state.appsLoadingChanged();
        test::AppStateAccess(p.state).setVolume(VolumeInfo{"Disk", 10 * gb, 2 * gb, 2 * gb});
        QCOMPARE(p.page->column(), column);

        test::AppStateAccess(p.state).setRevision(p.state.revision() + 1);
        QVERIFY(p.page->column() != column);
    }

    void aRescanForgetsTheHoveredCategory() {
        ShellFixture f;
        Page p(f);
        test::AppStateAccess(p.state).setScan(homeWithLargeFolder(f.fixture.locations.home),
                                              ScanTarget::home());
        p.card<CompositionCard>()->hoverChanged(true, StorageBucket::Video);
        QCOMPARE(p.card<CompositionCard>()->selected(), std::optional(StorageBucket::Video));
        test::AppStateAccess(p.state).setScan(homeWithLargeFolder(f.fixture.locations.home),
                                              ScanTarget::home());
        QCOMPARE(p.card<CompositionCard>()->selected(), std::nullopt);
    }

    void aFolderRowOpensTheExplorerOnlyOverItsOwnScan() {
        ShellFixture f;
        Page p(f);
        const std::shared_ptr<ScanResult> scan = homeWithLargeFolder(f.fixture.locations.home);
        test::AppStateAccess(p.state).setScan(scan, ScanTarget::home());
        BiggestFolders* folders = p.card<BiggestFolders>();
        QCOMPARE(folders->rows().size(), std::size_t{1});
        const FileNode* caches = folders->folders().front();
        QCOMPARE(caches->name(), std::string_view("Caches"));

        QTest::mouseClick(folders->rows().front(), Qt::LeftButton);
        QCOMPARE(p.state.section(), AppSection::Explorer);
        QCOMPARE(p.state.explorerStack(), folderChain(*caches));
        QCOMPARE(p.state.explorerStack().size(), std::size_t{3});

        // The old card, not yet deleted, is clicked after another result was published.
        p.state.setSection(AppSection::Overview);
        test::AppStateAccess(p.state).setScan(f.homeScan(), ScanTarget::home());
        const std::vector<const FileNode*> newRoot{p.state.scan()->root};
        folders->open(*caches);
        QCOMPARE(p.state.explorerStack(), newRoot);
        QCOMPARE(p.state.section(), AppSection::Overview);
    }
};

DORVALE_QT_TEST(OverviewViewTest)

} // namespace dorvale

#include "OverviewViewTest.moc"
