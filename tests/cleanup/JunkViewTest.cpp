#include "app/AppState.hpp"
#include "cleanup/JunkFixture.hpp"
#include "cleanup/JunkRowDelegate.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SelectionBar.hpp"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include <algorithm>

namespace dorvale {

namespace {

using test::JunkFixture;

// The rule rows of the list, section by section, as "<group>: <rule title> <n items> <total>".
QStringList ruleRows(const JunkModel& model) {
    QStringList rows;
    for (int section = 0; section < model.rowCount(); ++section) {
        const QModelIndex header = model.sectionIndex(section);
        for (int entry = 0; entry < model.rowCount(header); ++entry) {
            const QModelIndex rule = model.index(entry, 0, header);
            rows << QStringLiteral("%1: %2 %3 %4")
                        .arg(header.data().toString(), rule.data().toString(),
                             rule.data(JunkModel::CountTextRole).toString(),
                             rule.data(JunkModel::SizeTextRole).toString());
        }
    }
    return rows;
}

// Shows the junk screen once its search has published the fixture's findings.
JunkView* showFound(JunkFixture& f, std::vector<JunkFinding> found) {
    f.junk.answer(std::move(found));
    JunkView* view = f.show();
    if (!QTest::qWaitFor([&f] { return !f.state().junkLoading(); })) {
        qFatal("The junk search did not end");
    }
    return view;
}

QModelIndex openRule(JunkView& view, const std::string& ruleId) {
    const QModelIndex rule = view.model()->ruleIndex(ruleId);
    view.list()->expand(rule);
    return rule;
}

// Clicks the checkbox of the row at `index`, as the user does.
void clickCheck(JunkView& view, const QModelIndex& index) {
    view.list()->scrollTo(index);
    const QRect row = view.list()->visualRect(index);
    QTest::mouseClick(view.list()->viewport(), Qt::LeftButton, {},
                      JunkRowDelegate::checkRect(row, index).center());
}

// "on", "off" or "dimmed" for a rule's checkbox; "on" or "off" for an item's.
QString tick(const QModelIndex& index) {
    if (index.data(JunkModel::DimmedRole).toBool()) {
        return QStringLiteral("dimmed");
    }
    return index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked
               ? QStringLiteral("on")
               : QStringLiteral("off");
}

QString barText(const JunkView& view) {
    const auto* bar = view.findChild<SelectionBar*>(QStringLiteral("selectionBar"));
    return bar->isVisible() ? QStringLiteral("%1 selected").arg(bar->count())
                            : QStringLiteral("hidden");
}

} // namespace

class JunkViewTest : public QObject {
    Q_OBJECT

private slots:
    // The first visit searches; while nothing is listed the spinner shows; then the groups
    // come in their fixed order with every rule closed and nothing ticked. A revisit with
    // findings shows them at once without a search.
    void theFirstVisitSearchesAndARevisitDoesNot() {
        JunkFixture f;
        f.junk.answer(f.standard());
        f.junk.hold();
        JunkView* view = f.show();
        QTRY_COMPARE(f.junk.scans(), 1);
        auto* body = view->findChild<QStackedWidget*>(QStringLiteral("junkBody"));
        QVERIFY(body->currentWidget()->findChild<ActivitySpinner*>() != nullptr);
        QVERIFY(view->findChild<ActivitySpinner*>()->isVisible());
        QVERIFY(!view->findChild<QPushButton*>(QStringLiteral("scanAgainButton"))->isEnabled());
        f.junk.release();
        QTRY_VERIFY(!f.state().junkLoading());
        QCOMPARE(body->currentWidget(), view->list());
        QCOMPARE(
            ruleRows(*view->model()),
            (QStringList{"System Junk: App caches 300 items 300 KB", "Trash: Trash 301 items 3 KB",
                         "Downloads: Installers in Downloads 2 items 2 MB"}));
        QCOMPARE(view->model()->sectionIndex(0).data(JunkModel::SymbolRole).toString(),
                 QStringLiteral("sparkles"));
        QCOMPARE(view->model()->sectionIndex(1).data(JunkModel::SymbolRole).toString(),
                 QStringLiteral("trash.fill"));
        const QModelIndex caches = view->model()->ruleIndex("user-caches");
        QVERIFY(!view->list()->isExpanded(caches));
        QCOMPARE(view->model()->rowCount(caches), 0);
        QCOMPARE(tick(caches), QStringLiteral("off"));
        QCOMPARE(barText(*view), QStringLiteral("hidden"));

        JunkView again(f.state());
        again.show();
        QCOMPARE(f.junk.scans(), 1);
        QCOMPARE(ruleRows(*again.model()).size(), 3);
    }

    // A finding a deletion emptied has no row, and junk of only such findings is searched
    // again on a visit, as none would be.
    void emptiedFindingsAreLeftOut() {
        JunkFixture f;
        f.shell.makeState();
        test::AppStateAccess(f.state()).setJunk({f.finding("user-logs", 0)});
        f.junk.answer({f.finding("user-logs", 0), f.finding("trash", 1)});
        JunkView* view = f.shell.show(new JunkView(f.state()));
        QTRY_COMPARE(f.junk.scans(), 1);
        QTRY_VERIFY(!f.state().junkLoading());
        QCOMPARE(ruleRows(*view->model()), (QStringList{"Trash: Trash 1 items 1 KB"}));
    }

    // A search already running, such as the smart clean's, publishes what a visit would
    // search for: the visit starts no second one and shows the spinner until it ends.
    void aVisitDuringASearchStartsNoOther() {
        JunkFixture f;
        f.junk.answer({f.finding("trash", 1)});
        f.junk.hold();
        f.shell.makeState().loadJunk();
        QTRY_COMPARE(f.junk.scans(), 1);
        JunkView* view = f.shell.show(new JunkView(f.state()));
        QVERIFY(view->findChild<ActivitySpinner*>()->isVisible());
        f.junk.release();
        QTRY_VERIFY(!f.state().junkLoading());
        QCOMPARE(f.junk.scans(), 1);
        QCOMPARE(ruleRows(*view->model()), (QStringList{"Trash: Trash 1 items 1 KB"}));
    }

    void scanAgainKeepsTheOldRowsUntilTheNewOnesCome() {
        JunkFixture f;
        JunkView* view = showFound(f, f.standard());
        openRule(*view, "trash");
        f.junk.answer({f.finding("trash", 5), f.finding("user-logs", 1)});
        f.junk.hold();
        auto* again = view->findChild<QPushButton*>(QStringLiteral("scanAgainButton"));
        QCOMPARE(again->property("symbol").toString(), QStringLiteral("arrow.clockwise"));
        QTest::mouseClick(again, Qt::LeftButton);
        QTRY_COMPARE(f.junk.scans(), 2);
        QVERIFY(!again->isEnabled());
        QCOMPARE(view->findChild<QStackedWidget*>(QStringLiteral("junkBody"))->currentWidget(),
                 view->list());
        QCOMPARE(ruleRows(*view->model()).size(), 3);
        f.junk.release();
        QTRY_VERIFY(again->isEnabled());
        QCOMPARE(ruleRows(*view->model()),
                 (QStringList{"System Junk: Logs and crash reports 1 items 1 KB",
                              "Trash: Trash 5 items 1 KB"}));
        // The open rule stays open over the new findings.
        const QModelIndex trash = view->model()->ruleIndex("trash");
        QVERIFY(view->list()->isExpanded(trash));
        QCOMPARE(view->model()->rowCount(trash), 5);
    }

    // Ticks through the checkboxes: the rule's follows its items, is dimmed while partly
    // ticked, and a click on a dimmed one ticks them all.
    void theRuleCheckboxFollowsItsItems() {
        JunkFixture f;
        JunkView* view = showFound(f, f.standard());
        const QModelIndex rule = openRule(*view, "old-installers");
        const QModelIndex first = view->model()->subEntryIndex(rule.parent().row(), rule.row(), 0);
        const QModelIndex second = view->model()->subEntryIndex(rule.parent().row(), rule.row(), 1);
        const auto state = [&] {
            return QStringList{tick(rule), tick(first), tick(second), barText(*view)};
        };
        QCOMPARE(state(), (QStringList{"off", "off", "off", "hidden"}));
        clickCheck(*view, first);
        QCOMPARE(state(), (QStringList{"dimmed", "on", "off", "1 selected"}));
        clickCheck(*view, second);
        QCOMPARE(state(), (QStringList{"on", "on", "on", "2 selected"}));
        clickCheck(*view, rule);
        QCOMPARE(state(), (QStringList{"off", "off", "off", "hidden"}));
        clickCheck(*view, second);
        clickCheck(*view, rule);
        QCOMPARE(state(), (QStringList{"on", "on", "on", "2 selected"}));
        // Space on the current row ticks it too.
        view->list()->setFocus();
        view->list()->setCurrentIndex(first);
        QTest::keyClick(view->list(), Qt::Key_Space);
        QCOMPARE(state(), (QStringList{"dimmed", "off", "on", "1 selected"}));
        QTest::mouseClick(view->findChild<QAbstractButton*>(QStringLiteral("deselectButton")),
                          Qt::LeftButton);
        QCOMPARE(state(), (QStringList{"off", "off", "off", "hidden"}));
    }

    // At most 300 item rows, then a line for the rest; a ticked rule counts every item in
    // the bar and in the plan, shown or not.
    void aRuleShowsAtMost300ItemsAndCountsThemAll() {
        JunkFixture f;
        JunkView* view = showFound(f, f.standard());
        const QModelIndex full = openRule(*view, "user-caches");
        const QModelIndex over = openRule(*view, "trash");
        QCOMPARE(view->model()->rowCount(full), 300);
        QVERIFY(!view->model()->isMoreRow(view->model()->index(299, 0, full)));
        QCOMPARE(view->model()->rowCount(over), 301);
        QCOMPARE(view->model()->index(300, 0, over).data().toString(),
                 QStringLiteral("… and 1 more"));
        clickCheck(*view, over);
        QCOMPARE(tick(over), QStringLiteral("on"));
        const auto* bar = view->findChild<SelectionBar*>(QStringLiteral("selectionBar"));
        QCOMPARE(bar->count(), 301);
        QCOMPARE(bar->findChild<QLabel*>(QStringLiteral("selectionSize"))->text(),
                 QStringLiteral("3 KB"));
        view->cleanSelection();
        QCOMPARE(f.state().plan()->items.size(), std::size_t{301});
        QCOMPARE(f.state().plan()->items.back().name, "item-300");
    }

    // The plan: the ticked items in the order of the junk (not of the groups), each with its
    // rule's removal and its own verdict; an item of a rule the catalogue does not know is
    // left out; the ticks stay.
    void cleanPlansTheTickedItems() {
        JunkFixture f;
        std::vector<JunkFinding> found = f.standard();
        found.push_back(f.finding("user-logs", 1));
        found.back().items[0].ruleID = "no-such-rule";
        JunkView* view = showFound(f, found);
        JunkModel& model = *view->model();
        model.selection().setItem(2, 7, true);
        model.selection().setItem(0, 1, true);
        model.selection().setItem(1, 0, true);
        model.selection().setItem(3, 0, true);
        QTest::mouseClick(view->findChild<QAbstractButton*>(QStringLiteral("selectionAction")),
                          Qt::LeftButton);
        QVERIFY(f.state().plan().has_value());
        const DeletionPlan& plan = *f.state().plan();
        QCOMPARE(plan.title, QStringLiteral("Clean Junk"));
        const SafetyPolicy& safety = f.state().services().safety;
        QStringList rows;
        for (const PlanItem& item : plan.items) {
            QCOMPARE(item.verdict, safety.verdict(item.path));
            rows << QStringLiteral("%1 %2 %3")
                        .arg(QString::fromStdString(item.name))
                        .arg(item.size)
                        .arg(item.removal == Removal::Trash ? "trash" : "permanent");
        }
        QCOMPARE(rows, (QStringList{"item-1 1000000 trash", "item-0 1000 permanent",
                                    "item-7 10 permanent"}));
        QCOMPARE(plan.items[0].path, found[0].items[1].id);
        QCOMPARE(model.selection().count(), 4);
    }

    // A finished scan drops the ticks of items no longer found; until then such a tick stays
    // but counts nowhere, and it would come back with its item.
    void aNewRevisionPrunesTheTicks() {
        JunkFixture f;
        JunkView* view = showFound(f, {f.finding("old-installers", 2)});
        JunkSelection& selection = view->model()->selection();
        const std::vector<JunkFinding> both = f.state().junk();
        selection.setFinding(0, true);
        JunkFinding one = both[0];
        one.items.pop_back();
        f.junk.answer({one});
        f.state().loadJunk();
        QTRY_VERIFY(!f.state().junkLoading());
        QCOMPARE(selection.count(), 1);
        QCOMPARE(selection.ids().size(), std::size_t{2});
        test::AppStateAccess(f.state()).setRevision(f.state().revision() + 1);
        QCOMPARE(selection.ids().size(), std::size_t{1});
        f.junk.answer(both);
        f.state().loadJunk();
        QTRY_VERIFY(!f.state().junkLoading());
        QCOMPARE(selection.count(), 1);
        QCOMPARE(tick(view->model()->ruleIndex("old-installers")), QStringLiteral("dimmed"));
    }

    // A deletion takes items out of the findings: their rows go, an emptied rule with them,
    // and the ticks of what went count no more.
    void aDeletionShrinksTheList() {
        JunkFixture f;
        JunkView* view = showFound(f, {f.finding("old-installers", 2), f.finding("trash", 1)});
        const std::vector<JunkFinding> found = f.state().junk();
        const QModelIndex rule = openRule(*view, "old-installers");
        clickCheck(*view, rule);
        f.state().removeDeleted({found[0].items[0].id, found[1].items[0].id});
        QCOMPARE(ruleRows(*view->model()),
                 (QStringList{"Downloads: Installers in Downloads 1 items 1 KB"}));
        const QModelIndex after = view->model()->ruleIndex("old-installers");
        QVERIFY(view->list()->isExpanded(after));
        QCOMPARE(view->model()->rowCount(after), 1);
        QCOMPARE(tick(after), QStringLiteral("on"));
        QCOMPARE(barText(*view), QStringLiteral("1 selected"));
    }

    // An item row: its name, its date when it has one ("—" for the first day of 1970), its
    // size, and "Show in Finder" in its menu.
    void itemRowsShowTheirFactsAndReveal() {
        JunkFixture f;
        JunkFinding logs = f.finding("user-logs", 3, 2'000);
        logs.items[1].modified = 0;
        logs.items[2].modified = 1'700'000'000;
        JunkView* view = showFound(f, {logs});
        const QModelIndex rule = openRule(*view, "user-logs");
        QStringList rows;
        for (int row = 0; row < 3; ++row) {
            const QModelIndex item = view->model()->index(row, 0, rule);
            rows << QStringLiteral("%1|%2|%3")
                        .arg(item.data().toString(), item.data(JunkModel::DateTextRole).toString(),
                             item.data(JunkModel::SizeTextRole).toString());
        }
        QCOMPARE(rows, (QStringList{"item-0||2 KB", "item-1|—|2 KB", "item-2|Nov 14, 2023|2 KB"}));
        QCOMPARE(rule.data(JunkModel::RemovalRole).toString(),
                 QStringLiteral("Deleted immediately"));
        QCOMPARE(rule.data(RiskRole).toInt(), static_cast<int>(Risk::Safe));

        const QModelIndex item = view->model()->index(2, 0, rule);
        view->list()->scrollTo(item);
        const QPoint at = view->list()->visualRect(item).center();
        QMetaObject::invokeMethod(view->list(), "customContextMenuRequested", Q_ARG(QPoint, at));
        auto* menu = view->list()->findChild<QMenu*>(QStringLiteral("rowMenu"));
        QVERIFY(menu != nullptr);
        auto* reveal = menu->findChild<QAction*>(QStringLiteral("revealAction"));
        QCOMPARE(reveal->text(), QStringLiteral("Show in Finder"));
        reveal->trigger();
        QCOMPARE(f.shell.fixture.workspace.revealed(),
                 (std::vector<std::vector<std::string>>{{logs.items[2].id}}));
        menu->close();
    }

    // A click on a rule outside its checkbox opens it; another closes it.
    void aClickOnARuleOpensIt() {
        JunkFixture f;
        JunkView* view = showFound(f, f.standard());
        const QModelIndex rule = view->model()->ruleIndex("user-caches");
        const QRect row = view->list()->visualRect(rule);
        QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(view->list()->isExpanded(rule));
        QCOMPARE(view->model()->rowCount(rule), 300);
        QCOMPARE(tick(rule), QStringLiteral("off"));
        QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(!view->list()->isExpanded(rule));
    }
};

DORVALE_QT_TEST(JunkViewTest)

} // namespace dorvale

#include "JunkViewTest.moc"
