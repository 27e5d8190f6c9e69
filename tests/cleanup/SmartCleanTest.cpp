#include "app/AppState.hpp"
#include "cleanup/DoneStage.hpp"
#include "cleanup/GroupCard.hpp"
#include "cleanup/IdleStage.hpp"
#include "cleanup/Promise.hpp"
#include "cleanup/ReviewStage.hpp"
#include "cleanup/SmartCleanFixture.hpp"
#include "cleanup/SmartStartButton.hpp"
#include "cleanup/StepIndicator.hpp"
#include "cleanup/WorkingStage.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DiskRing.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/GradientLabel.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <chrono>

namespace dorvale {

namespace {

using namespace std::chrono_literals;
using test::SmartCleanFixture;

template <typename Widget = QPushButton>
Widget* find(const QWidget* root, const char* name) {
    auto* found = root->findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("No widget named %s", name);
    }
    return found;
}

QString textOf(const QWidget* root, const char* name) {
    return find<WrappingLabel>(root, name)->text();
}

// The rule ids of the cards' checkboxes, card by card, "on" or "off" after each.
QStringList cardRows(const QWidget* view) {
    QStringList rows;
    for (const GroupCard* card : view->findChildren<GroupCard*>()) {
        for (const QCheckBox* box : card->findChildren<QCheckBox*>()) {
            rows << QStringLiteral("%1 %2").arg(box->text(), box->isChecked() ? "on" : "off");
        }
    }
    return rows;
}

} // namespace

class SmartCleanTest : public QObject {
    Q_OBJECT

private slots:
    void stepsFollowThePhase_data() {
        QTest::addColumn<int>("phase");
        // Per step: r reached, t ticked, c current, a ahead; then the two connectors.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<bool>>("connectors");
        const auto row = [](const char* name, SmartPhase phase, QStringList steps,
                            QList<bool> connectors) {
            QTest::newRow(name) << static_cast<int>(phase) << steps << connectors;
        };
        row("idle", SmartPhase::Idle, {"rc", "a", "a"}, {false, false});
        row("scanning", SmartPhase::Scanning, {"rc", "a", "a"}, {false, false});
        row("review", SmartPhase::Review, {"rt", "rc", "a"}, {true, false});
        row("cleaning", SmartPhase::Cleaning, {"rt", "rt", "rc"}, {true, true});
        row("done", SmartPhase::Done, {"rt", "rt", "rtc"}, {true, true});
    }

    void stepsFollowThePhase() {
        QFETCH(int, phase);
        QFETCH(QStringList, steps);
        QFETCH(QList<bool>, connectors);
        const auto shown = StepIndicator::steps(static_cast<SmartPhase>(phase));
        QStringList looks;
        for (const StepIndicator::Step& step : shown) {
            looks << QString::fromLatin1("%1%2%3%4")
                         .arg(step.reached ? "r" : "", step.ticked ? "t" : "",
                              step.current ? "c" : "", step.ahead ? "a" : "");
        }
        QCOMPARE(looks, steps);
        QCOMPARE(shown[0].title, QStringLiteral("Scan"));
        QCOMPARE(shown[2].title, QStringLiteral("Clean"));
        QCOMPARE((QList<bool>{StepIndicator::connectorReached(static_cast<SmartPhase>(phase), 0),
                              StepIndicator::connectorReached(static_cast<SmartPhase>(phase), 1)}),
                 connectors);
    }

    // The flow keeps its place in the state: a view made in any phase shows that phase's stage.
    void aViewShowsTheStageOfThePhaseItIsMadeIn() {
        SmartCleanFixture f;
        f.shell.services.delays.smartScanFloor = 1h;
        f.shell.services.delays.smartCleanFloor = 1h;
        SmartCleanView* view = f.show();
        QVERIFY(qobject_cast<IdleStage*>(view->stage()) != nullptr);

        f.state().startSmartClean();
        auto* working = qobject_cast<WorkingStage*>(view->stage());
        QVERIFY(working != nullptr);
        QCOMPARE(working->title(), QStringLiteral("Looking for files you don’t need…"));
        QCOMPARE(view->stepIndicator()->phase(), SmartPhase::Scanning);
        // Coming back to the section while it searches: a new view of the same phase.
        SmartCleanView again(f.state());
        QVERIFY(qobject_cast<WorkingStage*>(again.stage()) != nullptr);
        QCOMPARE(view->stage()->findChildren<QAbstractButton*>().size(), 0);
    }

    void anInstantSearchWaitsForTheFloor() {
        SmartCleanFixture f;
        f.shell.services.delays.smartScanFloor = 1h;
        f.show();
        QSignalSpy loading(&f.state(), &AppState::junkLoadingChanged);
        f.state().startSmartClean();
        QTRY_COMPARE(loading.count(), 2);
        QCoreApplication::processEvents();
        QCOMPARE(f.state().smartPhase(), SmartPhase::Scanning);
    }

    void aSlowSearchMovesOnWhenItEnds() {
        SmartCleanFixture f;
        f.junk.hold();
        SmartCleanView* view = f.show();
        std::optional<SmartPhase> phaseAtResult;
        QObject::connect(&f.state(), &AppState::junkChanged, view,
                         [&] { phaseAtResult = f.state().smartPhase(); });
        f.state().startSmartClean();
        QTRY_COMPARE(f.junk.scans(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(f.state().smartPhase(), SmartPhase::Scanning);
        f.junk.release();
        QTRY_COMPARE(f.state().smartPhase(), SmartPhase::Review);
        QCOMPARE(phaseAtResult, SmartPhase::Scanning);
        QVERIFY(qobject_cast<ReviewStage*>(view->stage()) != nullptr);
        QCOMPARE(view->stepIndicator()->phase(), SmartPhase::Review);
    }

    void theStartPageShowsTheVolumeOnlyWhenItIsKnown() {
        for (const bool known : {true, false}) {
            SmartCleanFixture f;
            if (!known) {
                f.shell.fixture.volume.reset();
            }
            SmartCleanView* view = f.show();
            QCOMPARE(find<DiskRing>(view, "diskRing")->isVisible(), known);
            QCOMPARE(find<WrappingLabel>(view, "freeSpaceSentence")->isVisible(), known);
            QVERIFY(find<SmartStartButton>(view, "startButton")->isVisible());
            QVERIFY(find<WrappingLabel>(view, "idleHeadline")->isVisible());
            QCOMPARE(view->findChildren<Promise*>().size(), 3);
            if (known) {
                QCOMPARE(find<DiskRing>(view, "diskRing")->used(), 380'000'000'000);
                QCOMPARE(textOf(view, "freeSpaceSentence"),
                         QStringLiteral("You have 120 GB free of 500 GB. Dorvale only looks for "
                                        "files that macOS and your apps can recreate."));
            }
        }
    }

    void theStartButtonStartsTheSearch() {
        SmartCleanFixture f;
        f.shell.services.delays.smartScanFloor = 1h;
        SmartCleanView* view = f.show();
        QTest::mouseClick(find<SmartStartButton>(view, "startButton"), Qt::LeftButton);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Scanning);
        QTRY_COMPARE(f.junk.scans(), 1);
    }

    // Return clicks the page's main button, and only while that button can be clicked: the
    // start button starts the search; the clean button cleans once something is chosen.
    void returnClicksTheStagesButtonOnlyWhileItIsEnabled() {
        SmartCleanFixture f;
        const JunkFinding caches = f.finding("user-caches", 1, 4096);
        test::ChosenJunk::writeItems(f.shell.fixture.tree, caches);
        f.junk.answer({caches});
        SmartCleanView* view = f.show();
        f.shell.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.shell.window.get()));
        f.state().setSmartSelection({});
        find<SmartStartButton>(view, "startButton")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Scanning);
        QTRY_COMPARE(f.state().smartPhase(), SmartPhase::Review);

        find(view, "startOverButton")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Review);
        f.state().setSmartSelection({"user-caches"});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Cleaning);
        QTRY_COMPARE(f.state().smartPhase(), SmartPhase::Done);
    }

    void reviewWithoutJunk() {
        SmartCleanFixture f;
        // A finding a deletion emptied counts as nothing found.
        JunkFinding emptied = f.finding("user-caches", 0);
        f.junk.answer({emptied});
        SmartCleanView* view = f.show();
        f.reachReview();
        QCOMPARE(find<GradientLabel>(view, "selectedBytes")->text(), QStringLiteral("Zero KB"));
        QVERIFY(find<ElidedLabel>(view, "nothingFound")->isVisible());
        QCOMPARE(find<ElidedLabel>(view, "nothingFound")->text(),
                 QStringLiteral("Your Mac is clean. No junk found."));
        QVERIFY(view->findChildren<GroupCard*>().isEmpty());
        QVERIFY(!find<PrimaryButton>(view, "cleanButton")->isEnabled());
        f.state().cleanJunk();
        QCOMPARE(f.state().smartPhase(), SmartPhase::Review);

        QTest::mouseClick(find(view, "seeDetailsButton"), Qt::LeftButton);
        QCOMPARE(f.state().section(), AppSection::Junk);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Review);
        QTest::mouseClick(find(view, "startOverButton"), Qt::LeftButton);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Idle);
        QVERIFY(qobject_cast<IdleStage*>(view->stage()) != nullptr);
    }

    // Groups in their fixed order whatever the order of the findings; totals of every finding;
    // badges only for rules that are not safe; the header and the button only for the chosen.
    void reviewShowsTheGroupsAndTheChosenBytes() {
        SmartCleanFixture f;
        f.junk.answer({f.finding("old-installers", 1, 7'000'000),
                       f.finding("user-logs", 2, 1'000'000), f.finding("trash", 1, 500'000),
                       f.finding("user-caches", 1, 3'000'000),
                       f.finding("system-logs", 1, 300'000)});
        SmartCleanView* view = f.show();
        f.state().setSmartSelection({"user-caches", "no-such-rule"});
        f.reachReview();

        QStringList groups;
        QStringList totals;
        for (const GroupCard* card : view->findChildren<GroupCard*>()) {
            groups << card->accessibleName();
            totals << find<QLabel>(card, "groupTotal")->text();
        }
        QCOMPARE(groups, (QStringList{"System Junk", "Trash", "Downloads"}));
        QCOMPARE(totals, (QStringList{"5.3 MB", "500 KB", "7 MB"}));
        QCOMPARE(cardRows(view),
                 (QStringList{"Logs and crash reports off", "App caches on", "System logs off",
                              "Trash off", "Installers in Downloads off"}));
        QStringList badged;
        for (const RiskBadge* badge : view->findChildren<RiskBadge*>()) {
            QVERIFY(badge->isCompact());
            badged << RiskBadge::riskTitle(badge->risk());
        }
        QCOMPARE(badged, (QStringList{"Review", "Review"}));

        auto* clean = find<PrimaryButton>(view, "cleanButton");
        QCOMPARE(find<GradientLabel>(view, "selectedBytes")->text(), QStringLiteral("3 MB"));
        QCOMPARE(clean->text(), QStringLiteral("Clean 3 MB"));
        QVERIFY(clean->isEnabled());

        auto* card = view->findChildren<GroupCard*>().front();
        card->checkBox("user-caches")->click();
        QCOMPARE(f.state().smartSelection(), (std::set<std::string>{"no-such-rule"}));
        QVERIFY(!clean->isEnabled());
        QCOMPARE(clean->text(), QStringLiteral("Clean Zero KB"));
        card->checkBox("user-logs")->click();
        QCOMPARE(clean->text(), QStringLiteral("Clean 2 MB"));
        QVERIFY(clean->isEnabled());
    }

    // From the start page through a clean to the report and round again: the second review
    // shows what the renewed search found, with the user's choice kept.
    void aWholeRoundKeepsTheSelection() {
        SmartCleanFixture f;
        const JunkFinding caches = f.finding("user-caches", 2, 4096);
        test::ChosenJunk::writeItems(f.shell.fixture.tree, caches);
        f.junk.answer({caches, f.finding("user-logs", 1, 4096)});
        SmartCleanView* view = f.show();
        f.state().setSmartSelection({"user-caches"});
        f.reachReview();
        f.junk.answer({f.finding("user-logs", 1, 4096)});

        QTest::mouseClick(find<PrimaryButton>(view, "cleanButton"), Qt::LeftButton);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Cleaning);
        QCOMPARE(qobject_cast<WorkingStage*>(view->stage())->title(), QStringLiteral("Cleaning…"));
        QTRY_COMPARE(f.state().smartPhase(), SmartPhase::Done);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(caches.items[0].id)));
        QCOMPARE(textOf(view, "cleanedLine"), QStringLiteral("8 KB cleaned"));
        QVERIFY(!find<WrappingLabel>(view, "trashLine")->isVisible());

        QTest::mouseClick(find(view, "doneButton"), Qt::LeftButton);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Idle);
        QTest::mouseClick(find<SmartStartButton>(view, "startButton"), Qt::LeftButton);
        QTRY_COMPARE(f.state().smartPhase(), SmartPhase::Review);
        QCOMPARE(cardRows(view), (QStringList{"Logs and crash reports off"}));
        QCOMPARE(f.state().smartSelection(), (std::set<std::string>{"user-caches"}));
        QVERIFY(!find<PrimaryButton>(view, "cleanButton")->isEnabled());
    }

    // The tray's Quick Clean and the overview's card start the flow through the state; while
    // it cleans they only show the section, so no second search can end mid-deletion.
    void aQuickCleanWhileCleaningOnlyShowsTheSection() {
        SmartCleanFixture f;
        f.shell.services.delays.smartCleanFloor = 1h;
        const JunkFinding caches = f.finding("user-caches", 1, 4096);
        test::ChosenJunk::writeItems(f.shell.fixture.tree, caches);
        f.junk.answer({caches});
        SmartCleanView* view = f.show();
        f.reachReview();
        f.state().cleanJunk();
        QCOMPARE(f.state().smartPhase(), SmartPhase::Cleaning);
        QWidget* cleaning = view->stage();
        f.state().setSection(AppSection::Overview);
        f.state().startSmartClean();
        QCOMPARE(f.state().section(), AppSection::SmartClean);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Cleaning);
        QCOMPARE(view->stage(), cleaning);
        QCOMPARE(f.junk.scans(), 1);
    }

    void aQuickCleanWhileScanningOnlyShowsTheSection() {
        SmartCleanFixture f;
        f.shell.services.delays.smartScanFloor = 1h;
        SmartCleanView* view = f.show();
        f.state().startSmartClean();
        QTRY_COMPARE(f.junk.scans(), 1);
        QWidget* scanning = view->stage();
        f.state().setSection(AppSection::Overview);
        f.state().startSmartClean();
        QCOMPARE(f.state().section(), AppSection::SmartClean);
        QCOMPARE(f.state().smartPhase(), SmartPhase::Scanning);
        QCOMPARE(view->stage(), scanning);
        QCoreApplication::processEvents();
        QCOMPARE(f.junk.scans(), 1);
    }

    void theReportShowsItsLines_data() {
        QTest::addColumn<qint64>("freed");
        QTest::addColumn<qint64>("trashed");
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("volume");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("permanent only") << qint64{5'000'000} << qint64{0} << 0 << true
                                        << QStringList{"5 MB cleaned", "You now have 120 GB free."};
        QTest::newRow("trash only")
            << qint64{0} << qint64{2'000'000} << 1 << true
            << QStringList{"2 MB cleaned", "2 MB is in the Trash until you empty it.",
                           "1 item(s) were in use or protected and were left untouched.",
                           "You now have 120 GB free."};
        QTest::newRow("no volume")
            << qint64{1'000} << qint64{0} << 2 << false
            << QStringList{"1 KB cleaned", "2 item(s) were in use or protected and were "
                                           "left untouched."};
    }

    void theReportShowsItsLines() {
        QFETCH(qint64, freed);
        QFETCH(qint64, trashed);
        QFETCH(int, failures);
        QFETCH(bool, volume);
        QFETCH(QStringList, lines);
        SmartCleanFixture f;
        if (!volume) {
            f.shell.fixture.volume.reset();
        }
        AppState& state = f.shell.makeState();
        DeletionReport report{.freed = freed, .movedToTrash = trashed};
        report.failures.resize(static_cast<std::size_t>(failures));
        // What the protected skips count is left out of the report's line.
        report.skippedProtected.resize(3);
        test::AppStateAccess(state).setLastReport(report);
        DoneStage* stage = f.shell.show(new DoneStage(state), {900, 700});
        QStringList shown;
        for (const char* name : {"cleanedLine", "trashLine", "untouchedLine", "freeNowLine"}) {
            if (find<WrappingLabel>(stage, name)->isVisible()) {
                shown << textOf(stage, name);
            }
        }
        QCOMPARE(shown, lines);
    }

    void seeWhatElseScansTheDiskOnlyWithoutAScan() {
        for (const bool scanned : {true, false}) {
            SmartCleanFixture f;
            AppState& state = f.shell.makeState();
            if (scanned) {
                test::AppStateAccess(state).setScan(f.shell.homeScan(), ScanTarget::home());
            }
            DoneStage* stage = f.shell.show(new DoneStage(state));
            QTest::mouseClick(find(stage, "seeMoreButton"), Qt::LeftButton);
            QCOMPARE(state.section(), AppSection::Overview);
            QCOMPARE(state.isScanning(), !scanned);
            QTRY_COMPARE(f.shell.fixture.scans.calls().size(), scanned ? 0U : 1U);
            if (!scanned) {
                QCOMPARE(state.scanTarget().title(), QStringLiteral("Entire disk"));
            }
            QCOMPARE(state.smartPhase(), SmartPhase::Idle);
            state.cancelScan();
        }
    }
};

DORVALE_QT_TEST(SmartCleanTest)

} // namespace dorvale

#include "SmartCleanTest.moc"
