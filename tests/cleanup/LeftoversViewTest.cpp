#include "cleanup/LeftoversView.hpp"

#include "cleanup/CleanupPagesFixture.hpp"
#include "cleanup/LeftoversModel.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/LoadingState.hpp"
#include "widgets/SelectionBar.hpp"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::CleanupPagesFixture;
using test::find;

Leftover leftover(const CleanupPagesFixture& f, const std::string& identifier,
                  const std::string& location, std::int64_t size,
                  std::optional<Timestamp> modified = 1'690'000'000) {
    return {.path = f.home("Library/" + location + "/" + identifier),
            .identifier = identifier,
            .location = location,
            .size = size,
            .modified = modified};
}

std::vector<Leftover> three(const CleanupPagesFixture& f) {
    return {leftover(f, "com.beta.tool", "Caches", 5'000'000, std::nullopt),
            leftover(f, "com.alpha.app", "Preferences", 9'000'000, 3'600),
            leftover(f, "org.gamma.app", "Application Support", 1'000'000)};
}

QStringList identifiers(const QAbstractItemModel& model) {
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row) {
        values << model.index(row, LeftoversModel::Identifier).data().toString();
    }
    return values;
}

// As the window system sends it: a click, then the second press as a double click.
void doubleClick(QTableView* table, int row) {
    const QPoint centre = table->visualRect(table->model()->index(row, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, centre);
}

// The page after its first search found `three`.
LeftoversView* shownWithThree(CleanupPagesFixture& f) {
    f.answerLeftovers(three(f));
    auto* view = f.show<LeftoversView>();
    if (!QTest::qWaitFor([&f] { return !f.state().leftoversLoading(); })) {
        qFatal("The search did not end");
    }
    return view;
}

void selectRows(QTableView* table, std::initializer_list<int> rows) {
    for (const int row : rows) {
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

} // namespace

class LeftoversViewTest : public QObject {
    Q_OBJECT

private slots:
    // The first visit with an empty list searches at once, with only the spinner and the
    // button disabled; a visit with a list does not search again.
    void firstVisitSearches() {
        CleanupPagesFixture f;
        f.answerLeftovers(three(f));
        f.hold();
        auto* view = f.show<LeftoversView>();
        auto* search = find<IconButton>(view, "searchButton");
        QVERIFY(!search->isEnabled());
        QVERIFY(find<LoadingState>(view, "loadingState")->isVisible());
        QVERIFY(!find<QTableView>(view, "leftoversTable")->isVisible());
        f.release();
        QTRY_VERIFY(search->isEnabled());
        QVERIFY(!find<LoadingState>(view, "loadingState")->isVisible());
        QCOMPARE(view->model().rowCount(), 3);
        QCOMPARE(f.leftoverSearches(), 1);

        f.shell.window.reset();
        auto* again = f.shell.show(new LeftoversView(f.state()));
        QVERIFY(find<IconButton>(again, "searchButton")->isEnabled());
        QCOMPARE(again->model().rowCount(), 3);
        QCOMPARE(f.leftoverSearches(), 1);
        find<IconButton>(again, "searchButton")->click();
        QTRY_COMPARE(f.leftoverSearches(), 2);
    }

    // Largest first; identifier, location and size sort, "Modified" does not; unknown and
    // first-day dates show "—".
    void sortsByThreeColumns() {
        CleanupPagesFixture f;
        auto* view = shownWithThree(f);
        auto* table = find<QTableView>(view, "leftoversTable");
        QAbstractItemModelTester tester(table->model(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        const auto& model = view->model();
        QCOMPARE(identifiers(model),
                 (QStringList{"com.alpha.app", "com.beta.tool", "org.gamma.app"}));
        QHeaderView* header = table->horizontalHeader();
        header->setSortIndicator(LeftoversModel::Location, Qt::AscendingOrder);
        QCOMPARE(identifiers(model),
                 (QStringList{"org.gamma.app", "com.beta.tool", "com.alpha.app"}));
        header->setSortIndicator(LeftoversModel::Identifier, Qt::DescendingOrder);
        QCOMPARE(identifiers(model),
                 (QStringList{"org.gamma.app", "com.beta.tool", "com.alpha.app"}));
        header->setSortIndicator(LeftoversModel::Size, Qt::AscendingOrder);
        QCOMPARE(identifiers(model),
                 (QStringList{"org.gamma.app", "com.beta.tool", "com.alpha.app"}));
        header->setSortIndicator(LeftoversModel::Modified, Qt::DescendingOrder);
        QCOMPARE(identifiers(model),
                 (QStringList{"org.gamma.app", "com.beta.tool", "com.alpha.app"}));
        QCOMPARE(header->sortIndicatorSection(), int(LeftoversModel::Size));
        QCOMPARE(model.index(1, LeftoversModel::Modified).data().toString(), QStringLiteral("—"));
        QCOMPARE(model.index(2, LeftoversModel::Modified).data().toString(), QStringLiteral("—"));
        QCOMPARE(model.index(0, LeftoversModel::Modified).data().toString(),
                 QStringLiteral("Jul 22, 2023"));
    }

    // Three selected rows make a three-item plan to the Trash in row order, each with its
    // verdict; a row that leaves the list leaves the count, the size and the plan.
    void selectedRowsMakeThePlan() {
        CleanupPagesFixture f;
        auto* view = shownWithThree(f);
        auto* table = find<QTableView>(view, "leftoversTable");
        auto* bar = find<SelectionBar>(view, "selectionBar");
        QVERIFY(!bar->isVisible());
        selectRows(table, {0, 1, 2});
        QCOMPARE(bar->count(), 3);
        QVERIFY(bar->isVisible());
        find<QPushButton>(bar, "selectionAction")->click();
        QTRY_VERIFY(f.state().plan());
        const DeletionPlan& plan = *f.state().plan();
        QCOMPARE(plan.title, QStringLiteral("Delete App Leftovers"));
        QCOMPARE(plan.items.size(), std::size_t{3});
        QCOMPARE(plan.items[0].name, std::string("com.alpha.app"));
        QCOMPARE(plan.items[0].size, 9'000'000);
        for (const PlanItem& item : plan.items) {
            QCOMPARE(item.removal, Removal::Trash);
            QCOMPARE(item.verdict, f.shell.fixture.safety.verdict(item.path));
        }
        f.state().setPlan(std::nullopt);

        std::vector<Leftover> fewer = three(f);
        fewer.erase(fewer.begin());
        test::AppStateAccess(f.state()).setLeftovers(fewer);
        QCOMPARE(bar->count(), 2);
        QCOMPARE(view->list().selection().keys().size(), std::size_t{3});
        find<QPushButton>(bar, "selectionAction")->click();
        QTRY_VERIFY(f.state().plan());
        QCOMPARE(f.state().plan()->items.size(), std::size_t{2});

        find<QPushButton>(bar, "deselectButton")->click();
        QVERIFY(view->list().selection().keys().empty());
        QVERIFY(!bar->isVisible());
    }

    // A menu over several selected rows reveals one of them; a double click reveals its row.
    void revealsOneItem() {
        CleanupPagesFixture f;
        auto* view = shownWithThree(f);
        auto* table = find<QTableView>(view, "leftoversTable");
        selectRows(table, {1, 2});
        QMenu menu;
        view->list().populateRowMenu(menu, view->list().selection().menuKeys(2));
        QCOMPARE(menu.actions().size(), 1);
        menu.findChild<QAction*>("revealAction")->trigger();
        QCOMPARE(f.workspace().revealed(),
                 (std::vector<std::vector<std::string>>{{three(f)[0].path}}));
        doubleClick(table, 2);
        QCOMPARE(f.workspace().revealed().back(), std::vector<std::string>{three(f)[2].path});
    }
};

DORVALE_QT_TEST(LeftoversViewTest)

} // namespace dorvale

#include "LeftoversViewTest.moc"
