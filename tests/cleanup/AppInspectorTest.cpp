#include "cleanup/AppInspector.hpp"

#include "cleanup/AppsModel.hpp"
#include "cleanup/AppsView.hpp"
#include "cleanup/CleanupPagesFixture.hpp"
#include "cleanup/SymbolNote.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QGuiApplication>
#include <QLabel>
#include <QtTest>

namespace dorvale {

namespace {

using test::CleanupPagesFixture;
using test::find;

InstalledApp editor(const CleanupPagesFixture& f) {
    InstalledApp app;
    app.path = "/Applications/Editor.app";
    app.name = "Editor";
    app.bundleID = "com.example.editor";
    app.appSize = 40'000'000;
    app.related = {
        {.path = f.home("Library/Caches/com.example.editor"), .label = "Caches", .size = 9'000'000},
        {.path = f.home("Library/Application Support/Editor with a very long folder name that "
                        "goes on and on so that it cannot fit in the pane/and a deeper folder"),
         .label = "Application Support",
         .size = 1'000'000},
    };
    return app;
}

QStringList texts(const QWidget* root, const char* name) {
    QStringList found;
    for (const ElidedLabel* label : root->findChildren<ElidedLabel*>(QString::fromLatin1(name))) {
        found << label->text();
    }
    return found;
}

// The inspector of `app`, selected on its page once the list has arrived; Apple apps shown.
AppInspector* inspect(CleanupPagesFixture& f, const InstalledApp& app) {
    f.answerApps({app});
    auto* view = f.show<AppsView>({1000, 640});
    if (!QTest::qWaitFor([&f] { return !f.state().apps().empty(); })) {
        qFatal("No applications");
    }
    view->setFilter({.hideApple = false});
    view->setSelection(app.path);
    return view->inspector();
}

} // namespace

class AppInspectorTest : public QObject {
    Q_OBJECT

private slots:
    // The header, the bar and legend, the related rows with their shown paths, and the
    // uninstall of the bundle with every related item.
    void showsTheAppAndUninstallsIt() {
        CleanupPagesFixture f;
        const InstalledApp app = editor(f);
        AppInspector* inspector = inspect(f, app);
        QCOMPARE(find<ElidedLabel>(inspector, "appName")->text(), QStringLiteral("Editor"));
        QCOMPARE(find<QLabel>(inspector, "bundleIdentifier")->text(),
                 QStringLiteral("com.example.editor"));
        const auto* bar = find<SegmentedBar>(inspector, "spaceBar");
        QCOMPARE(bar->segments().size(), std::size_t{2});
        QCOMPARE(bar->segments()[1].value, 10'000'000);
        QCOMPARE(find<ElidedLabel>(inspector, "dataLegend")->text(), QStringLiteral("Data 10 MB"));
        QCOMPARE(texts(inspector, "relatedLabel"), (QStringList{"Caches", "Application Support"}));
        const QStringList paths = texts(inspector, "relatedPath");
        QCOMPARE(paths.front(), QStringLiteral("~/Library/Caches/com.example.editor"));
        const auto* longPath = inspector->findChildren<ElidedLabel*>("relatedPath").back();
        QCOMPARE(longPath->maximumLines(), 2);
        QVERIFY(longPath->isElided());
        QVERIFY(longPath->text().startsWith(QStringLiteral("~/Library/Application Support/")));
        QVERIFY(inspector->findChild<WrappingLabel*>("noData") == nullptr);

        inspector->findChildren<IconButton*>("revealButton").back()->click();
        QCOMPARE(f.workspace().revealed(),
                 (std::vector<std::vector<std::string>>{{app.related.back().path}}));
        auto* uninstall = find<DestructiveButton>(inspector, "uninstallButton");
        QVERIFY(uninstall->isEnabled());
        QVERIFY(!find<WrappingLabel>(inspector, "quitHint")->isVisible());
        uninstall->click();
        QTRY_VERIFY(f.state().plan());
        QCOMPARE(f.state().plan()->title, QStringLiteral("Uninstall Editor"));
        QCOMPARE(f.state().plan()->items.size(), std::size_t{3});
        QCOMPARE(f.state().plan()->items[1].name, std::string("Caches · com.example.editor"));
    }

    // No related data: the bar is the bundle alone, the legend's data are zero and the list
    // says so; without an identifier the header's second line is empty.
    void anAppWithoutDataOrIdentifier() {
        CleanupPagesFixture f;
        InstalledApp app = editor(f);
        app.related.clear();
        app.bundleID.reset();
        AppInspector* inspector = inspect(f, app);
        QCOMPARE(find<QLabel>(inspector, "bundleIdentifier")->text(), QString());
        QCOMPARE(find<ElidedLabel>(inspector, "dataLegend")->text(),
                 QStringLiteral("Data Zero KB"));
        const auto* bar = find<SegmentedBar>(inspector, "spaceBar");
        const auto placements = SegmentedBar::layout(bar->segments(), 40'000'000, 200, 10);
        QCOMPARE(placements.size(), std::size_t{1});
        QCOMPARE(placements.front().id, QStringLiteral("app"));
        QCOMPARE(find<WrappingLabel>(inspector, "noData")->text(),
                 QStringLiteral("No data found outside the app."));
        QVERIFY(inspector->findChildren<QWidget*>("relatedRow").isEmpty());
    }

    // An Apple application: the notice instead of the button, its data still revealed.
    void anAppleAppCannotBeUninstalled() {
        CleanupPagesFixture f;
        InstalledApp app = editor(f);
        app.bundleID = "com.apple.editor";
        app.isApple = true;
        AppInspector* inspector = inspect(f, app);
        QVERIFY(inspector->findChild<DestructiveButton*>("uninstallButton") == nullptr);
        const auto* notice = find<SymbolNote>(inspector, "appleNotice");
        QCOMPARE(notice->text(), QStringLiteral("Apple app: Dorvale doesn’t uninstall it."));
        QCOMPARE(notice->property("symbol").toString(), QStringLiteral("lock.fill"));
        inspector->findChildren<IconButton*>("revealButton").front()->click();
        QCOMPARE(f.workspace().revealed().size(), std::size_t{1});
    }

    // A running application cannot be uninstalled until it has quit.
    void aRunningAppWaitsUntilItQuits() {
        CleanupPagesFixture f;
        f.workspace().setRunning({"com.example.editor"});
        AppInspector* inspector = inspect(f, editor(f));
        auto* uninstall = find<DestructiveButton>(inspector, "uninstallButton");
        auto* hint = find<WrappingLabel>(inspector, "quitHint");
        QTRY_VERIFY(!uninstall->isEnabled());
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral("Quit the app to uninstall it."));

        // Coming back to the program asks again, and so does each new list.
        f.workspace().setRunning({});
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QTRY_VERIFY(uninstall->isEnabled());
        QVERIFY(!hint->isVisible());
        f.workspace().setRunning({"com.example.editor"});
        auto* view = f.shell.window->findChild<AppsView*>();
        find<IconButton>(view, "refreshButton")->click();
        QTRY_VERIFY(!uninstall->isEnabled());
        QCOMPARE(view->inspector(), inspector);
    }
};

DORVALE_QT_TEST(AppInspectorTest)

} // namespace dorvale

#include "AppInspectorTest.moc"
