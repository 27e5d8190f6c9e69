#include "shell/RootView.hpp"

#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "common/ScanPrompt.hpp"
#include "shell/SectionPlaceholder.hpp"
#include "shell/Sidebar.hpp"
#include "shell/StateSheet.hpp"
#include "shell/sheets/AccessOnboardingView.hpp"
#include "shell/sheets/DeletionConfirmationSheet.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/app/SignalRecorder.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/SectionedList.hpp"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

// A window on the real pages, or on pages that record each build.
struct Window {
    explicit Window(ShellFixture& f)
        : state(f.state ? *f.state : f.makeState())
        , root(f.show(new RootView(state), {1040, 680})) {}
    Window(ShellFixture& f, RootView::PageFactory pages)
        : state(f.makeState())
        , root(f.show(new RootView(state, std::move(pages)), {1040, 680})) {}

    void click(AppSection section) const {
        SectionedList* list = root->sidebar()->list();
        const QRect row = list->visualRect(root->sidebar()->row(section));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    }
    [[nodiscard]] QDialog* onboarding() const { return root->onboardingSheet()->dialog(); }
    [[nodiscard]] QDialog* deletion() const { return root->deletionSheet()->dialog(); }

    AppState& state;
    RootView* root;
};

// Pages that are plain widgets named after their section, counting how often each is built.
struct CountingPages {
    RootView::PageFactory factory() {
        return [this](AppSection section, AppState&) {
            built.push_back(section);
            auto* page = new QWidget;
            page->setObjectName(QString::fromLatin1(rawValue(section).data()));
            return page;
        };
    }
    std::vector<AppSection> built;
};

QList<QByteArray> only(const QList<QByteArray>& emitted, const QList<QByteArray>& names) {
    QList<QByteArray> kept;
    for (const QByteArray& name : emitted) {
        if (names.contains(name)) {
            kept.append(name);
        }
    }
    return kept;
}

DeletionPlan plan(const QString& title) {
    return DeletionPlan{.title = title};
}

} // namespace

class RootViewTest : public QObject {
    Q_OBJECT

private slots:
    void theSidebarListsTheSectionsInTheirGroups() {
        ShellFixture f;
        Window w(f);
        SectionedList* list = w.root->sidebar()->list();
        QStringList shown;
        for (QModelIndex index = list->model()->index(0, 0); index.isValid();
             index = list->indexBelow(index)) {
            const bool header = !(index.flags() & Qt::ItemIsSelectable);
            shown << (header ? "[" + index.data().toString() + "]" : index.data().toString());
        }
        QCOMPARE(shown, QStringList({"[Simple]", "Quick Clean", "[Analyze]", "Overview", "Explorer",
                                     "By Type", "Large & Old", "System Data", "[Apps]",
                                     "Applications", "App Leftovers", "Login Items", "[Clean Up]",
                                     "Junk", "Developer", "Duplicates", "[]", "History"}));
        QCOMPARE(w.root->sidebar()->row(AppSection::Large).data(Sidebar::symbolRole),
                 QVariant(QStringLiteral("arrow.up.left.and.arrow.down.right")));
        QCOMPARE(list->selectionModel()->selectedIndexes(),
                 QModelIndexList{w.root->sidebar()->row(AppSection::SmartClean)});
    }

    void clickingARowShowsItsSectionAndTheSameRowChangesNothing() {
        ShellFixture f;
        CountingPages pages;
        Window w(f, pages.factory());
        QCOMPARE(pages.built, std::vector{AppSection::SmartClean});
        QSignalSpy changed(&w.state, &AppState::sectionChanged);
        w.click(AppSection::Duplicates);
        QCOMPARE(w.state.section(), AppSection::Duplicates);
        QCOMPARE(w.root->page()->objectName(), QStringLiteral("duplicates"));
        QCOMPARE(changed.count(), 1);

        w.click(AppSection::Duplicates);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(pages.built, (std::vector{AppSection::SmartClean, AppSection::Duplicates}));

        // A click on a group's header selects nothing and keeps the section.
        SectionedList* list = w.root->sidebar()->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(2, 0)).center());
        QCOMPARE(w.state.section(), AppSection::Duplicates);
        QCOMPARE(list->selectionModel()->selectedIndexes(),
                 QModelIndexList{w.root->sidebar()->row(AppSection::Duplicates)});
    }

    void theArrowKeysMoveFromRowToRowOverTheHeaders() {
        ShellFixture f;
        Window w(f);
        SectionedList* list = w.root->sidebar()->list();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.state.section(), AppSection::Overview);
        w.state.setSection(AppSection::Duplicates);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.state.section(), AppSection::History);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(w.state.section(), AppSection::Duplicates);
    }

    void everySectionCanBeReachedFromTheSidebar() {
        ShellFixture f;
        CountingPages pages;
        Window w(f, pages.factory());
        for (const AppSection section : allAppSections) {
            w.click(section);
            QCOMPARE(w.state.section(), section);
            QCOMPARE(w.root->page()->objectName(), QString::fromLatin1(rawValue(section).data()));
            QVERIFY(w.root->page()->isVisible());
        }
        QCOMPARE(pages.built.size(), allAppSections.size());
    }

    // The section set from elsewhere moves the selection; setting the shown one again keeps
    // its page.
    void settingTheSectionMovesTheSelection() {
        ShellFixture f;
        CountingPages pages;
        Window w(f, pages.factory());
        w.state.setSection(AppSection::Large);
        QCOMPARE(w.root->sidebar()->list()->selectionModel()->selectedIndexes(),
                 QModelIndexList{w.root->sidebar()->row(AppSection::Large)});
        QWidget* page = w.root->page();
        w.state.setSection(AppSection::Large);
        QCOMPARE(w.root->page(), page);
        QCOMPARE(pages.built, (std::vector{AppSection::SmartClean, AppSection::Large}));
    }

    void theStartSectionComesFromTheSettings() {
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "history");
        Window w(f);
        QCOMPARE(w.root->sidebar()->list()->selectionModel()->selectedIndexes(),
                 QModelIndexList{w.root->sidebar()->row(AppSection::History)});
        QCOMPARE(w.root->page()->findChild<PageHeader*>()->title(), QStringLiteral("History"));
    }

    // Until their screens exist, the pages that need a scan show the prompt until a result.
    void aPageThatNeedsAScanShowsThePromptUntilAResult() {
        ShellFixture f;
        Window w(f);
        w.click(AppSection::Overview);
        auto* prompt = w.root->page()->findChild<ScanPrompt*>();
        QVERIFY(prompt != nullptr && prompt->isVisible());
        QCOMPARE(prompt->findChild<QLabel*>(QStringLiteral("promptTitle"))->text(),
                 QStringLiteral("What’s taking up your disk?"));
        test::AppStateAccess(w.state).setScan(f.homeScan(), ScanTarget::home());
        QVERIFY(!prompt->isVisible());
        QCOMPARE(w.root->page()->findChild<PageHeader*>()->title(), QStringLiteral("Overview"));

        w.click(AppSection::Junk);
        QVERIFY(w.root->page()->findChild<ScanPrompt*>() == nullptr);
    }

    void theOnboardingRaisedBeforeTheWindowOpensWithIt() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        f.fixture.settings.setText(SettingsKeys::autoScan, "disk");
        AppState& state = f.makeState();
        QVERIFY(state.showAccessOnboarding());
        Window w(f);
        QVERIFY(w.onboarding() != nullptr);
        QTRY_VERIFY(w.onboarding()->isVisible());
        QCOMPARE(w.onboarding()->windowModality(), Qt::WindowModal);
        QVERIFY(qobject_cast<AccessOnboardingView*>(w.onboarding()) != nullptr);
    }

    // The skip is stored first, then the sheet closes, then the scan of the target that was
    // refused starts, and goes ahead without access.
    void scanWithoutAccessStoresTheSkipClosesAndScans() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Window w(f);
        w.state.startScan(ScanTarget::home());
        QTRY_VERIFY(w.onboarding() != nullptr && w.onboarding()->isVisible());
        QDialog* sheet = w.onboarding();
        const test::SignalRecorder recorder(w.state);
        QTest::mouseClick(sheet->findChild<QPushButton*>(QStringLiteral("scanWithoutAccessButton")),
                          Qt::LeftButton);
        QCOMPARE(only(recorder.emitted(), {"accessOnboardingSkippedChanged",
                                           "showAccessOnboardingChanged", "isScanningChanged"}),
                 QList<QByteArray>({"accessOnboardingSkippedChanged", "showAccessOnboardingChanged",
                                    "isScanningChanged"}));
        QVERIFY(w.state.accessOnboardingSkipped());
        QVERIFY(!w.state.showAccessOnboarding());
        QVERIFY(!sheet->isVisible());
        QVERIFY(w.onboarding() == nullptr);
        QVERIFY(w.state.isScanning());
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{1});
        QCOMPARE(f.fixture.scans.calls()[0].rootPath, f.fixture.locations.home);
    }

    void returnOpensTheSettingsAndLeavesTheSheetOpen() {
        ShellFixture f;
        int settingsOpened = 0;
        f.services.openPrivacySettings = [&settingsOpened] {
            ++settingsOpened;
        };
        f.fixture.fullDiskAccess = false;
        Window w(f);
        w.state.startScan(ScanTarget::wholeDisk());
        QTRY_VERIFY(w.onboarding() != nullptr && w.onboarding()->isVisible());
        // Wherever the focus is, Return is the default button's.
        w.onboarding()
            ->findChild<QPushButton*>(QStringLiteral("scanWithoutAccessButton"))
            ->setFocus();
        QTest::keyClick(w.onboarding(), Qt::Key_Return);
        QCOMPARE(settingsOpened, 1);
        QVERIFY(!w.state.accessOnboardingSkipped());
        QVERIFY(!w.state.isScanning());
        QVERIFY(w.state.showAccessOnboarding());
        QVERIFY(w.onboarding()->isVisible());
    }

    void aFolderScanNeverOpensTheSheet() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Window w(f);
        w.state.startScan(ScanTarget::folder(f.fixture.tree.folder("Users/a/Music")));
        QVERIFY(w.state.isScanning());
        QVERIFY(!w.state.showAccessOnboarding());
        QVERIFY(w.onboarding() == nullptr);
    }

    void comingBackWithAccessClosesTheSheetAndScans() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Window w(f);
        w.state.startScan(ScanTarget::home());
        QTRY_VERIFY(w.onboarding() != nullptr);

        // Still no access: only the flag is refreshed, the sheet stays.
        w.root->applicationBecameActive();
        QVERIFY(!w.state.hasFullDiskAccess());
        QVERIFY(w.onboarding() != nullptr);
        QVERIFY(!w.state.isScanning());

        f.fixture.fullDiskAccess = true;
        w.root->applicationBecameActive();
        QVERIFY(w.state.hasFullDiskAccess());
        QVERIFY(w.onboarding() == nullptr);
        QVERIFY(!w.state.showAccessOnboarding());
        QVERIFY(w.state.isScanning());
        QCOMPARE(w.state.scanTarget(), ScanTarget::home());
    }

    void comingBackWithoutTheSheetOnlyRefreshesAccess() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Window w(f);
        f.fixture.fullDiskAccess = true;
        QSignalSpy refreshed(&w.state, &AppState::hasFullDiskAccessChanged);
        w.root->applicationBecameActive();
        QCOMPARE(refreshed.count(), 1);
        QVERIFY(w.state.hasFullDiskAccess());
        QVERIFY(!w.state.isScanning());
    }

    void closingTheOnboardingClearsItsFlag() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Window w(f);
        w.state.startScan(ScanTarget::home());
        QTRY_VERIFY(w.onboarding() != nullptr);
        QTest::keyClick(w.onboarding(), Qt::Key_Escape);
        QVERIFY(!w.state.showAccessOnboarding());
        QVERIFY(!w.state.isScanning());
        QVERIFY(!w.state.accessOnboardingSkipped());
    }

    void thePlanSheetFollowsThePlan() {
        ShellFixture f;
        AppState& state = f.makeState();
        state.setPlan(plan(QStringLiteral("Delete 3 items")));
        Window w(f);
        QTRY_VERIFY(w.deletion() != nullptr && w.deletion()->isVisible());
        QDialog* first = w.deletion();
        QCOMPARE(first->windowModality(), Qt::WindowModal);
        QCOMPARE(first->windowTitle(), QStringLiteral("Delete 3 items"));

        // The same plan set again keeps its sheet; a new plan replaces it.
        state.setPlan(state.plan());
        QCOMPARE(w.deletion(), first);
        state.setPlan(plan(QStringLiteral("Delete the duplicates")));
        QDialog* second = w.deletion();
        QVERIFY(second != first);
        QVERIFY(!first->isVisible());
        QCOMPARE(second->windowTitle(), QStringLiteral("Delete the duplicates"));
        QVERIFY(state.plan());

        // Cancel clears the plan; a plan cleared elsewhere closes its sheet.
        QTest::mouseClick(second->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                          Qt::LeftButton);
        QVERIFY(!state.plan());
        QVERIFY(w.deletion() == nullptr);
        state.setPlan(plan(QStringLiteral("Delete junk")));
        QDialog* third = w.deletion();
        QVERIFY(third != nullptr);
        state.setPlan(std::nullopt);
        QVERIFY(w.deletion() == nullptr);
        QVERIFY(!third->isVisible());
    }

    // Closing the window to the tray takes its sheet along, and showing it again brings back
    // the same sheet, with whatever the user had ticked in it.
    void theSheetHidesWithItsWindowAndComesBack() {
        ShellFixture f;
        Window w(f);
        w.state.setPlan(plan(QStringLiteral("Delete 3 items")));
        QDialog* sheet = w.deletion();
        QVERIFY(sheet != nullptr && sheet->isVisible());

        w.root->window()->hide();
        QVERIFY(!sheet->isVisible());
        w.state.setPlan(plan(QStringLiteral("Delete junk")));
        QVERIFY(w.deletion() == nullptr);

        w.root->window()->show();
        QVERIFY(w.deletion() != nullptr && w.deletion()->isVisible());
        sheet = w.deletion();
        w.root->window()->hide();
        w.root->window()->show();
        QCOMPARE(w.deletion(), sheet);
        QVERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Delete junk"));
    }

    void theWindowsSheetConfirmsAPlanOnce() {
        ShellFixture f;
        Window w(f);
        const std::string file = f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 4'096);
        w.state.requestDeletion(
            QStringLiteral("Delete"),
            {PlanItem{PlanCandidate{.path = file, .name = "a.zip", .size = 4'096},
                      f.fixture.safety.verdict(file)}});
        QTRY_VERIFY(w.deletion() != nullptr && w.deletion()->isVisible());
        QDialog* sheet = w.deletion();
        QVERIFY(qobject_cast<DeletionConfirmationSheet*>(sheet) != nullptr);
        QSignalSpy toast(&w.state, &AppState::toastChanged);
        QTest::keyClick(sheet, Qt::Key_Return);
        QTest::keyClick(sheet, Qt::Key_Return);
        QVERIFY(!w.state.plan());
        QVERIFY(w.deletion() == nullptr);
        QVERIFY(!sheet->isVisible());
        QVERIFY(toast.wait());
        QVERIFY(workerPool().waitForDone(30'000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(toast.count(), 1);
        QCOMPARE(w.state.history().entries().size(), std::size_t{1});
    }
};

DORVALE_QT_TEST(RootViewTest)

} // namespace dorvale

#include "RootViewTest.moc"
