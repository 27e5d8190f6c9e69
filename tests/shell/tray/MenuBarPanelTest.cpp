#include "shell/tray/MenuBarPanel.hpp"

#include "app/SettingsKeys.hpp"
#include "shell/DiskFooter.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DiskRing.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolLabel.hpp"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace dorvale {

namespace {

using test::ShellFixture;

const std::string longName =
    "Backups of the family photo library and every project archive since 2009";

struct Panel {
    explicit Panel(ShellFixture& f)
        : state(f.state ? *f.state : f.makeState())
        , panel(std::make_unique<MenuBarPanel>(state)) {}

    [[nodiscard]] QWidget* row(const char* name) const {
        return panel->findChild<QWidget*>(QString::fromLatin1(name));
    }
    [[nodiscard]] QString text(const char* name) const {
        return panel->findChild<ElidedLabel*>(QString::fromLatin1(name))->text();
    }
    [[nodiscard]] bool shows(const char* name) const { return !row(name)->isHidden(); }
    void click(const char* name) const {
        panel->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    AppState& state;
    std::unique_ptr<MenuBarPanel> panel;
};

} // namespace

class MenuBarPanelTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void showsTheVolumeWithItsRingAndFreeSpace() {
        ShellFixture f;
        Panel p(f);
        QVERIFY(p.shows("volumeRow"));
        QCOMPARE(p.text("volumeName"), QStringLiteral("Fixture"));
        QCOMPARE(p.text("volumeFree"), QStringLiteral("120 GB free of 500 GB"));
        QCOMPARE(p.panel->findChild<QLabel*>("ringPercent")->text(), QStringLiteral("76%"));
        const auto* ring = p.panel->findChild<DiskRing*>("diskRing");
        QCOMPARE(ring->used(), 380'000'000'000);
        QCOMPARE(ring->total(), 500'000'000'000);
        QCOMPARE(ring->parentWidget()->size(), QSize(54, 54));
        QCOMPARE(ring->accessibleName(), QStringLiteral("Used space"));
        QCOMPARE(p.panel->width(), 290);
    }

    // The panel and the sidebar's footer show one volume, read again at the end of a run.
    void followsTheOneVolumeAsTheFooterDoes() {
        ShellFixture f;
        Panel p(f);
        const DiskFooter footer(p.state);
        f.fixture.volume->available = 70'860'000'000;
        p.state.runDeletion({}, true);
        QTRY_COMPARE(p.text("volumeFree"), QStringLiteral("70.86 GB free of 500 GB"));
        QCOMPARE(footer.findChild<ElidedLabel*>(QStringLiteral("volumeFree"))->text(),
                 QStringLiteral("70.86 GB free"));
    }

    void showsPurgeableSpaceFromOneByte() {
        ShellFixture f;
        Panel p(f);
        QVERIFY(!p.shows("volumePurgeable"));
        VolumeInfo volume = *f.fixture.volume;
        volume.availableForImportantUsage = volume.available + 1;
        test::AppStateAccess(p.state).setVolume(volume);
        QVERIFY(p.shows("volumePurgeable"));
        QCOMPARE(p.text("volumePurgeable"), QStringLiteral("+ 1 KB purgeable"));
        // Figures that come out negative show as none.
        volume.available = -10;
        volume.availableForImportantUsage = -20;
        test::AppStateAccess(p.state).setVolume(volume);
        QVERIFY(!p.shows("volumePurgeable"));
        QCOMPARE(p.text("volumeFree"), QStringLiteral("Zero KB free of 500 GB"));
    }

    void aLongVolumeNameIsElidedWithinTheWidth() {
        ShellFixture f;
        f.fixture.volume->name = longName;
        Panel p(f);
        p.panel->show();
        const auto* name = p.panel->findChild<ElidedLabel*>("volumeName");
        QCOMPARE(name->text(), QString::fromStdString(longName));
        QVERIFY(name->isElided());
        QCOMPARE(p.panel->width(), 290);
    }

    void anUnknownVolumeLeavesItsRowOutAndKeepsTheButtons() {
        ShellFixture f;
        f.fixture.volume.reset();
        Panel p(f);
        QVERIFY(!p.shows("volumeRow"));
        QVERIFY(!p.shows("autoCleanLine"));
        QVERIFY(p.shows("quickCleanButton"));
        QVERIFY(p.shows("openButton"));
        QVERIFY(p.shows("quitButton"));
    }

    void showsTheLastAutomaticClean() {
        ShellFixture f;
        Panel p(f);
        QVERIFY(!p.shows("autoCleanLine"));
        BackgroundServices& background = p.state.background();
        background.setLastAutoClean(f.fixture.clock.now() - 2 * secondsPerDay);
        background.setLastAutoCleanBytes(123'456'789);
        QVERIFY(p.shows("autoCleanLine"));
        const auto* line = p.panel->findChild<SymbolLabel*>("autoCleanLine");
        QCOMPARE(line->title(), QStringLiteral("Auto-clean 2 days ago: 123.5 MB"));
        QCOMPARE(line->property("symbol").toString(), QStringLiteral("calendar.badge.clock"));
    }

    void openingReadsTheVolumeAndRunsTheChecks() {
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::cleanSchedule, "daily");
        Panel p(f);
        BackgroundServices& background = p.state.background();
        background.start();
        QTRY_VERIFY(!background.autoCleanRunning());
        f.fixture.volume->available = 1'000'000'000;
        background.setLastAutoClean(f.fixture.clock.now() - 2 * secondsPerDay);
        p.panel->popUp(QRect(100, 0, 24, 24));
        QVERIFY(p.panel->isVisible());
        QCOMPARE(p.state.volume()->available, 1'000'000'000);
        QCOMPARE(p.text("volumeFree"), QStringLiteral("1 GB free of 500 GB"));
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t(1));
        QCOMPARE(f.fixture.notifier.posted().front().title,
                 std::string("Your Mac is running out of space"));
        QVERIFY(background.autoCleanRunning());
        QTRY_VERIFY(!background.autoCleanRunning());
        // Below the icon, on the screen.
        QCOMPARE(p.panel->frameGeometry().topLeft(), QPoint(100, 24));
    }

    void quickCleanStartsTheSmartCleanAndAsksForTheWindow() {
        ShellFixture f;
        Panel p(f);
        p.state.setSection(AppSection::Overview);
        test::AppStateAccess(p.state).setSmartPhase(SmartPhase::Done);
        QSignalSpy opened(p.panel.get(), &MenuBarPanel::openRequested);
        p.panel->popUp(QRect(0, 0, 24, 24));
        p.click("quickCleanButton");
        QCOMPARE(p.state.section(), AppSection::SmartClean);
        QCOMPARE(p.state.smartPhase(), SmartPhase::Scanning);
        QVERIFY(p.state.junkLoading());
        QCOMPARE(opened.count(), 1);
        QVERIFY(!p.panel->isVisible());
        // Nothing is deleted from here: the review waits in the window.
        QTRY_COMPARE(p.state.smartPhase(), SmartPhase::Review);
        QVERIFY(f.fixture.notifier.posted().empty());
    }

    void theButtonsAskForTheWindowAndForQuitting() {
        ShellFixture f;
        Panel p(f);
        QSignalSpy opened(p.panel.get(), &MenuBarPanel::openRequested);
        QSignalSpy quit(p.panel.get(), &MenuBarPanel::quitRequested);
        p.click("openButton");
        QCOMPARE(opened.count(), 1);
        QCOMPARE(quit.count(), 0);
        p.click("quitButton");
        QCOMPARE(quit.count(), 1);
        QCOMPARE(p.state.section(), AppSection::SmartClean);
        QCOMPARE(p.state.smartPhase(), SmartPhase::Idle);
    }
};

DORVALE_QT_TEST(MenuBarPanelTest)

} // namespace dorvale

#include "MenuBarPanelTest.moc"
