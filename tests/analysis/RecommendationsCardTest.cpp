#include "analysis/Recommendations.hpp"
#include "support/TestValues.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/RowButton.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>

namespace dorvale {

namespace {

using test::Gate;
using test::ShellFixture;

JunkFinding finding(const char* rule, std::int64_t size, int items = 1) {
    JunkFinding found{.rule = test::catalogueRule(rule)};
    for (int i = 0; i < items; ++i) {
        found.items.push_back(JunkItem{.id = "/t/" + std::string(rule) + std::to_string(i),
                                       .ruleID = rule,
                                       .size = size / items,
                                       .fileCount = 1});
    }
    return found;
}

// A junk search held on a gate that counts its runs and finds `findings`.
struct FakeSearch {
    void install(AppServices& services, std::vector<JunkFinding> findings) {
        services.scanJunk = [pass = gate.pass(), runs = runs,
                             findings](std::span<const JunkRule>, const Locations&, const Clock&,
                                       const JunkScan::AccessProbe&) {
            ++*runs;
            pass();
            return findings;
        };
    }

    Gate gate;
    std::shared_ptr<std::atomic<int>> runs = std::make_shared<std::atomic<int>>(0);
};

QStringList ids(const Recommendations& card) {
    QStringList list;
    for (const RowButton* row : card.rows()) {
        list.append(row->property("recommendation").toString());
    }
    return list;
}

} // namespace

class RecommendationsCardTest : public QObject {
    Q_OBJECT

private slots:
    void searchesForJunkWhenShownThenListsTheRows() {
        ShellFixture f;
        FakeSearch search;
        // Equal sizes keep the table's order: the Trash before the installers.
        search.install(f.services,
                       {finding("old-installers", 60'000'000), finding("trash", 60'000'000)});
        AppState& state = f.makeState();
        test::AppStateAccess(state).setScan(f.homeScan(), ScanTarget::home());
        auto* card = f.show(new Recommendations(state));
        auto* spinner = card->findChild<ActivitySpinner*>(QStringLiteral("junkSpinner"));
        auto* empty = card->findChild<WrappingLabel*>(QStringLiteral("nothingUrgent"));
        QVERIFY(state.junkLoading());
        QVERIFY(spinner->isVisible());
        QVERIFY(!empty->isVisible());
        QVERIFY(card->rows().empty());

        search.gate.open();
        QTRY_COMPARE(ids(*card), (QStringList{"trash", "installers"}));
        QVERIFY(!spinner->isVisible());
        QVERIFY(!empty->isVisible());
        QCOMPARE(search.runs->load(), 1);

        QTest::mouseClick(card->rows().front(), Qt::LeftButton);
        QVERIFY(state.plan().has_value());
        QCOMPARE(state.plan()->title, QStringLiteral("Empty the Trash"));
    }

    void startsNoSecondSearch() {
        for (const bool running : {true, false}) {
            ShellFixture f;
            FakeSearch search;
            search.install(f.services, {finding("trash", 60'000'000)});
            AppState& state = f.makeState();
            if (running) {
                state.loadJunk();
            } else {
                test::AppStateAccess(state).setJunk({finding("trash", 60'000'000)});
            }
            QSignalSpy loading(&state, &AppState::junkLoadingChanged);
            auto* card = f.show(new Recommendations(state));
            card->loadJunkIfNeeded();
            QCOMPARE(loading.count(), 0);
            search.gate.open();
            QTRY_VERIFY(!state.junkLoading());
            QCOMPARE(search.runs->load(), running ? 1 : 0);
        }
    }

    void saysWhenNothingIsWorthCleaning() {
        ShellFixture f;
        FakeSearch search;
        search.install(f.services, {finding("trash", 50'000'000)});
        AppState& state = f.makeState();
        auto* card = f.show(new Recommendations(state));
        auto* empty = card->findChild<WrappingLabel*>(QStringLiteral("nothingUrgent"));
        QVERIFY(!empty->isVisible());
        search.gate.open();
        QTRY_VERIFY(empty->isVisible());
        QCOMPARE(empty->text(), QStringLiteral("Nothing urgent. Nice work!"));
        QVERIFY(card->rows().empty());
    }

    void aLongDetailMakesItsRowTaller() {
        ShellFixture f;
        AppState& state = f.makeState();
        test::AppStateAccess(state).setJunk({finding("ios-backups", 2'000'000'000, 12)});
        auto* card = f.show(new Recommendations(state), {900, 600});
        QCOMPARE(card->rows().size(), std::size_t{1});
        RowButton* backups = card->rows().front();
        auto* detail = backups->findChild<WrappingLabel*>(QStringLiteral("detail"));
        QTRY_VERIFY(backups->height() > 0);
        const int wide = backups->height();

        f.window->resize(260, 600);
        card->resize(260, 600);
        QTRY_VERIFY(backups->height() > wide);
        QVERIFY(detail->height() >= detail->heightForWidth(detail->width()));
        QVERIFY(detail->heightForWidth(detail->width()) > QFontMetrics(detail->font()).height());
    }

    // The guard lies in the state; the card only asks for the smart clean.
    void safeJunkOnlyShowsTheSmartCleanWhileItIsBusy() {
        ShellFixture f;
        FakeSearch search;
        search.install(f.services, {});
        AppState& state = f.makeState();
        test::AppStateAccess(state).setJunk({finding("user-caches", 60'000'000)});
        test::AppStateAccess(state).setSmartPhase(SmartPhase::Cleaning);
        auto* card = f.show(new Recommendations(state));
        QCOMPARE(ids(*card), QStringList{"junk"});
        QSignalSpy loading(&state, &AppState::junkLoadingChanged);
        QTest::mouseClick(card->rows().front(), Qt::LeftButton);
        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.smartPhase(), SmartPhase::Cleaning);
        QCOMPARE(loading.count(), 0);

        test::AppStateAccess(state).setSmartPhase(SmartPhase::Done);
        QTest::mouseClick(card->rows().front(), Qt::LeftButton);
        QCOMPARE(state.smartPhase(), SmartPhase::Scanning);
        QVERIFY(state.junkLoading());
        search.gate.open();
        QTRY_COMPARE(state.smartPhase(), SmartPhase::Review);
    }
};

DORVALE_QT_TEST(RecommendationsCardTest)

} // namespace dorvale

#include "RecommendationsCardTest.moc"
