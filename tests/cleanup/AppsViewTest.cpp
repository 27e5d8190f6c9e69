#include "cleanup/AppsView.hpp"

#include "cleanup/AppInspector.hpp"
#include "cleanup/AppsModel.hpp"
#include "cleanup/CleanupPagesFixture.hpp"
#include "cleanup/RunningApps.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/LoadingState.hpp"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::CleanupPagesFixture;
using test::find;

constexpr Timestamp now = 1'700'000'000;
constexpr Timestamp day = 86'400;

InstalledApp app(const std::string& name, std::int64_t appSize,
                 std::vector<std::int64_t> related = {}) {
    InstalledApp made;
    made.path = "/Applications/" + name + ".app";
    made.name = name;
    made.bundleID = "com.example." + name;
    made.appSize = appSize;
    for (std::size_t i = 0; i < related.size(); ++i) {
        made.related.push_back({.path = "/Users/a/Library/Caches/" + name + std::to_string(i),
                                .label = "Caches",
                                .size = related[i]});
    }
    made.lastUsed = now - day;
    return made;
}

InstalledApp apple(const std::string& name, std::int64_t appSize) {
    InstalledApp made = app(name, appSize);
    made.bundleID = "com.apple." + name;
    made.isApple = true;
    return made;
}

QStringList column(const QAbstractItemModel& model, int column, int role = Qt::DisplayRole) {
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row) {
        values << model.index(row, column).data(role).toString();
    }
    return values;
}

QTableView* table(const AppsView* view) {
    return find<QTableView>(view, "appsTable");
}

bool showsLoading(const AppsView* view) {
    auto* content = find<LoadingState>(view, "loadingState")->parentWidget();
    return qobject_cast<QStackedWidget*>(content)->currentWidget()->objectName() ==
           QLatin1String("loadingState");
}

} // namespace

class AppsViewTest : public QObject {
    Q_OBJECT

private slots:
    // Each case decides at its own rule: Apple first, then the unused cut-off (strict, a
    // missing date as the distant past), then the query against the name, then the id.
    void matchesDecidesByTheFirstRule() {
        InstalledApp withoutDate = app("Old", 1);
        withoutDate.lastUsed.reset();
        InstalledApp withoutID = app("Plain", 1);
        withoutID.bundleID.reset();
        InstalledApp myFoo = app("MyFoo", 1);
        InstalledApp byID = app("Other", 1);
        byID.bundleID = "org.FOO.tool";
        const auto usedDaysAgo = [](double days) {
            InstalledApp used = app("Used", 1);
            used.lastUsed = now - days * day;
            return used;
        };
        const AppsView::Filter initial;
        const AppsView::Filter everything{.hideApple = false};
        const AppsView::Filter unused{.hideApple = false, .unusedOnly = true};
        const AppsView::Filter foo{.query = QStringLiteral("foo"), .hideApple = false};
        struct Case {
            const char* what;
            InstalledApp app;
            AppsView::Filter filter;
            bool listed;
        };
        const std::vector<Case> cases = {
            {"Apple hidden at first", apple("Safari", 1), initial, false},
            {"Apple shown on request", apple("Safari", 1), everything, true},
            {"Apple hidden whatever the query", apple("Foo", 1),
             AppsView::Filter{.query = QStringLiteral("foo")}, false},
            {"used 89 days ago", usedDaysAgo(89), unused, false},
            {"used 90 days ago, at the cut-off", usedDaysAgo(90), unused, false},
            {"used 91 days ago", usedDaysAgo(91), unused, true},
            {"never used", withoutDate, unused, true},
            {"used recently, unused filter off", usedDaysAgo(1), everything, true},
            {"name in another case", myFoo, foo, true},
            {"identifier in another case", byID, foo, true},
            {"neither", app("Editor", 1), foo, false},
            {"no identifier", withoutID, AppsView::Filter{.query = QStringLiteral("com")}, false},
            {"empty query", withoutID, initial, true},
        };
        for (const Case& c : cases) {
            QVERIFY2(AppsView::matches(c.app, c.filter, now) == c.listed, c.what);
        }
    }

    // Apple apps hidden and the largest total first; a search that finds nothing empties the
    // list and the summary counts zero.
    void firstShowSortsByTotalAndSummarises() {
        CleanupPagesFixture f;
        f.answerApps({app("Small", 1'000'000), apple("Safari", 900'000'000),
                      app("Large", 100'000'000, {300'000'000}), app("Middle", 50'000'000)});
        AppsView* view = f.show<AppsView>();
        QTRY_COMPARE(view->model().rowCount(), 3);
        QAbstractItemModelTester tester(table(view)->model(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QCOMPARE(column(view->model(), AppsModel::Name), (QStringList{"Large", "Middle", "Small"}));
        QCOMPARE(find<ElidedLabel>(view, "summary")->text(), QStringLiteral("3 apps · 451 MB"));
        table(view)->horizontalHeader()->setSortIndicator(AppsModel::Name, Qt::AscendingOrder);
        QCOMPARE(column(view->model(), AppsModel::Name), (QStringList{"Large", "Middle", "Small"}));
        table(view)->horizontalHeader()->setSortIndicator(AppsModel::AppSize, Qt::AscendingOrder);
        QCOMPARE(column(view->model(), AppsModel::Name), (QStringList{"Small", "Middle", "Large"}));

        QTest::keyClicks(find<QLineEdit>(view, "searchField"), "nothing like it");
        QCOMPARE(view->model().rowCount(), 0);
        QCOMPARE(find<ElidedLabel>(view, "summary")->text(), QStringLiteral("0 apps · Zero KB"));
        QCOMPARE(f.appLoads(), 1);
    }

    // "—" without data, orange where the data outweigh the bundle, and bars that stay within
    // the cell when every total is zero.
    void cellsShowDataAndLastUse() {
        CleanupPagesFixture f;
        InstalledApp never = app("Never", 0);
        never.lastUsed.reset();
        never.version = "2.1";
        never.isAppStore = true;
        f.answerApps({never, app("Heavy", 0, {0})});
        AppsView* view = f.show<AppsView>();
        QTRY_COMPARE(view->model().rowCount(), 2);
        const AppsModel& model = view->model();
        const int heavy = model.rowOf("/Applications/Heavy.app");
        const int plain = model.rowOf("/Applications/Never.app");
        QCOMPARE(model.index(plain, AppsModel::Data).data().toString(), QStringLiteral("—"));
        QCOMPARE(model.index(plain, AppsModel::LastUsed).data().toString(),
                 QStringLiteral("Never / unknown"));
        QCOMPARE(model.index(plain, AppsModel::Name).data(DetailRole).toString(),
                 QStringLiteral("v2.1 · App Store"));
        QCOMPARE(model.index(heavy, AppsModel::LastUsed).data().toString(),
                 QStringLiteral("yesterday"));
        QCOMPARE(model.largestTotal(), 1);
        QVERIFY(!model.index(heavy, AppsModel::Data).data(Qt::ForegroundRole).isValid());

        f.answerApps({app("Heavy", 1'000'000, {5'000'000}), app("Light", 5'000'000, {1'000'000})});
        f.state().loadApps(true);
        QTRY_COMPARE(model.largestTotal(), 6'000'000);
        QCOMPARE(model.index(model.rowOf("/Applications/Heavy.app"), AppsModel::Data)
                     .data(Qt::ForegroundRole)
                     .value<QColor>(),
                 Theme::caution());
        QVERIFY(!model.index(model.rowOf("/Applications/Light.app"), AppsModel::Data)
                     .data(Qt::ForegroundRole)
                     .isValid());
    }

    // The menu takes the first shown application among the clicked rows: reveal, and
    // uninstall unless it is an Apple application; a running one may be uninstalled here.
    void rowMenuRevealsAndUninstalls() {
        CleanupPagesFixture f;
        f.workspace().setRunning({"com.example.Busy"});
        f.answerApps({apple("Safari", 900'000'000), app("Busy", 5'000'000, {1'000})});
        AppsView* view = f.show<AppsView>();
        QTRY_COMPARE(view->model().rowCount(), 1);
        find<QCheckBox>(view, "hideAppleBox")->click();
        QCOMPARE(view->model().rowCount(), 2);
        QTRY_VERIFY(view->model()
                        .index(view->model().rowOf("/Applications/Busy.app"), AppsModel::Name)
                        .data(MarkColorRole)
                        .isValid());

        QMenu onApple;
        view->populateRowMenu(onApple, {"/Applications/Busy.app", "/Applications/Safari.app"});
        QCOMPARE(onApple.actions().size(), 2);
        QVERIFY(!onApple.findChild<QAction*>("uninstallAction")->isEnabled());
        onApple.findChild<QAction*>("revealAction")->trigger();
        QCOMPARE(f.workspace().revealed(),
                 (std::vector<std::vector<std::string>>{{"/Applications/Safari.app"}}));

        QMenu onRunning;
        view->populateRowMenu(onRunning, {"/Applications/Busy.app"});
        QAction* uninstall = onRunning.findChild<QAction*>("uninstallAction");
        QVERIFY(uninstall->isEnabled());
        uninstall->trigger();
        QTRY_VERIFY(f.state().plan());
        QCOMPARE(f.state().plan()->title, QStringLiteral("Uninstall Busy"));
        QCOMPARE(f.state().plan()->items.size(), std::size_t{2});

        QMenu onHidden;
        find<QCheckBox>(view, "hideAppleBox")->click();
        view->populateRowMenu(onHidden, {"/Applications/Safari.app"});
        QVERIFY(onHidden.isEmpty());
    }

    // The selection is the page's: a filter that hides the selected row keeps its inspector,
    // and an application that leaves the list leaves "Select an app".
    void selectionOutlivesTheFilter() {
        CleanupPagesFixture f;
        f.answerApps({app("Editor", 5'000'000), app("Viewer", 1'000'000)});
        AppsView* view = f.show<AppsView>();
        QTRY_COMPARE(view->model().rowCount(), 2);
        auto* pane = find<QScrollArea>(view, "inspectorPane");
        QVERIFY(!pane->isVisible());
        QTableView* rows = table(view);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          rows->visualRect(rows->model()->index(1, AppsModel::Total)).center());
        QCOMPARE(view->selection(), std::optional<std::string>("/Applications/Viewer.app"));
        QVERIFY(pane->isVisible());
        QCOMPARE(view->inspector()->app().name, std::string("Viewer"));

        QTest::keyClicks(find<QLineEdit>(view, "searchField"), "edit");
        QCOMPARE(view->model().rowCount(), 1);
        QVERIFY(rows->selectionModel()->selectedRows().isEmpty());
        QCOMPARE(view->inspector()->app().name, std::string("Viewer"));
        find<QLineEdit>(view, "searchField")->clear();
        view->setFilter({});
        QCOMPARE(rows->selectionModel()->selectedRows().size(), 1);

        test::AppStateAccess(f.state()).setApps({app("Editor", 5'000'000)});
        QVERIFY(pane->isVisible());
        QVERIFY(view->inspector() == nullptr);
        QCOMPARE(find<ElidedLabel>(view, "selectPrompt")->text(), QStringLiteral("Select an app"));
    }

    // The first load shows only the spinner; a refresh keeps the list and disables its button.
    void spinnerOnlyBeforeTheFirstList() {
        CleanupPagesFixture f;
        f.answerApps({app("Editor", 5'000'000)});
        f.hold();
        AppsView* view = f.show<AppsView>();
        auto* refresh = find<IconButton>(view, "refreshButton");
        QVERIFY(showsLoading(view));
        QVERIFY(!refresh->isEnabled());
        f.release();
        QTRY_VERIFY(refresh->isEnabled());
        QVERIFY(!showsLoading(view));
        QCOMPARE(view->model().rowCount(), 1);

        f.hold();
        refresh->click();
        QVERIFY(!refresh->isEnabled());
        QVERIFY(!showsLoading(view));
        QCOMPARE(view->model().rowCount(), 1);
        f.release();
        QTRY_VERIFY(refresh->isEnabled());
        QCOMPARE(f.appLoads(), 2);
    }
};

DORVALE_QT_TEST(AppsViewTest)

} // namespace dorvale

#include "AppsViewTest.moc"
