#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/DuplicateRowDelegate.hpp"
#include "cleanup/DuplicatesFixture.hpp"
#include "cleanup/DuplicatesModel.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SelectionBar.hpp"

#include <QAbstractItemModelTester>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

namespace dorvale {

namespace {

using test::DuplicatesFixture;
using Files = std::unordered_set<const FileNode*>;

template <typename Widget>
Widget* find(const QWidget* root, const char* name) {
    auto* found = root->findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("No widget named %s", name);
    }
    return found;
}

QString bodyShown(const DuplicatesView* view) {
    return find<QStackedWidget>(view, "duplicatesBody")->currentWidget()->objectName();
}

IconButton* findButton(const DuplicatesView* view) {
    return find<IconButton>(view, "findDuplicatesButton");
}

void tick(DuplicatesModel& model, int section, int entry, bool on = true) {
    QVERIFY(model.setData(model.entryIndex(section, entry), on ? Qt::Checked : Qt::Unchecked,
                          Qt::CheckStateRole));
}

SelectionBar* selectionBar(const DuplicatesView* view) {
    return find<SelectionBar>(view, "selectionBar");
}

} // namespace

class DuplicatesTest : public QObject {
    Q_OBJECT

private slots:
    void withoutAScanThePromptShowsAndNoButton() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        QCOMPARE(bodyShown(view), QString("duplicatesPrompt"));
        QVERIFY(!findButton(view)->isVisible());
    }

    // The idle text before a search; the bar from 0 with the button off while it runs;
    // the idle text again after a search that found nothing.
    void aSearchShowsItsProgressThenWhatItFound() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        f.scanWithCopies({}, {});
        QCOMPARE(bodyShown(view), QString("duplicatesIdle"));
        QVERIFY(findButton(view)->isVisible());
        QVERIFY(findButton(view)->isEnabled());

        QTest::mouseClick(findButton(view), Qt::LeftButton);
        QCOMPARE(bodyShown(view), QString("duplicatesComparing"));
        QCOMPARE(find<QProgressBar>(view, "comparingProgress")->value(), 0);
        QVERIFY(!findButton(view)->isEnabled());

        f.search.gate.open();
        QTRY_COMPARE(bodyShown(view), QString("duplicatesIdle"));
        QVERIFY(findButton(view)->isEnabled());
    }

    void aGroupShowsItsCopiesWithTheOldestSuggested() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        f.scanWithCopies({3, 2}, {4'096'000, 1'000'000});
        QCOMPARE(bodyShown(view), QString("duplicatesResults"));
        DuplicatesModel& model = view->model();
        QCOMPARE(model.data(model.sectionIndex(0), Qt::DisplayRole).toString(),
                 QString("3 copies · %1 each").arg(byteText(4'096'000)));
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 3);
        for (int entry = 0; entry < 3; ++entry) {
            QCOMPARE(model.entryIndex(0, entry).data(DuplicatesModel::SuggestedRole).toBool(),
                     entry == 0);
        }
        QCOMPARE(model.entryIndex(0, 1).data(DetailRole).toString(), QString("~/copy1/file0.bin"));
        QCOMPARE(model.entryIndex(0, 1).data(DuplicatesModel::DateRole).toString(),
                 QString("Sep 14, 2020"));
        QCOMPARE(find<ElidedLabel>(view, "duplicatesSummary")->text(),
                 QString("2 groups · %1 recoverable").arg(byteText(2 * 4'096'000 + 1'000'000)));
    }

    // Select All Copies ticks all but the first of each group, whatever was ticked; the bar
    // counts the ticked files and their sizes on disk; Space on a row ticks it.
    void selectAllCopiesReplacesTheTicks() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        const std::vector<DuplicateGroup> groups = f.scanWithCopies({2, 3}, {3'000'000, 5'000'000});
        DuplicatesModel& model = view->model();
        tick(model, 0, 0);
        QCOMPARE(selectionBar(view)->count(), 1);

        QTest::mouseClick(find<QPushButton>(view, "selectAllCopiesButton"), Qt::LeftButton);
        QCOMPARE(model.selected(),
                 (Files{groups[0].files[1], groups[1].files[1], groups[1].files[2]}));
        QCOMPARE(model.entryIndex(1, 2).data(Qt::CheckStateRole).value<Qt::CheckState>(),
                 Qt::Checked);
        QCOMPARE(selectionBar(view)->count(), 3);

        auto* list = find<SectionedList>(view, "duplicatesList");
        const QModelIndex first = model.entryIndex(0, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          DuplicateRowDelegate::checkRect(list->visualRect(first)).center());
        QVERIFY(model.selected().contains(groups[0].files[0]));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
        QVERIFY(model.selected().contains(groups[0].files[0]));
        list->setFocus();
        list->setCurrentIndex(model.entryIndex(1, 0));
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(model.selected().contains(groups[1].files[0]));
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!model.selected().contains(groups[1].files[0]));
    }

    // Every live copy of a group ticked is refused, even when a deleted copy of it is not.
    void theLastLiveCopyOfAGroupIsKept() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        std::vector<DuplicateGroup> groups =
            f.scanWithCopies({3, 2}, {2'000'000, 2'000'000}, false);
        QVERIFY(f.scan->markDeleted(*groups[0].files[2]));
        test::AppStateAccess(f.state()).setDuplicates(groups);
        DuplicatesModel& model = view->model();
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 2);
        tick(model, 0, 0);
        tick(model, 0, 1);
        tick(model, 1, 1);
        const Files ticked = model.selected();

        selectionBar(view)->actionRequested();
        QVERIFY(f.state().toast().has_value());
        QCOMPARE(f.state().toast()->message, QString("Keep at least one copy in each group"));
        QVERIFY(f.state().toast()->undoable.empty());
        QVERIFY(!f.state().plan().has_value());
        QCOMPARE(model.selected(), ticked);
    }

    void oneTickedCopyMakesAPlanOfOne() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        const auto groups = f.scanWithCopies({2, 2}, {2'000'000, 3'000'000});
        tick(view->model(), 1, 1);
        selectionBar(view)->actionRequested();
        QVERIFY(!f.state().toast().has_value());
        const std::optional<DeletionPlan>& plan = f.state().plan();
        QVERIFY(plan.has_value());
        QCOMPARE(plan->title, QString("Delete Duplicate Copies"));
        QCOMPARE(plan->items.size(), std::size_t{1});
        const PlanItem& item = plan->items.front();
        QCOMPARE(item.path, groups[1].files[1]->path());
        QCOMPARE(item.name, std::string("file1.bin"));
        QCOMPARE(item.size, groups[1].files[1]->size());
        QCOMPARE(item.removal, Removal::Trash);
        QCOMPARE(item.verdict, f.shell.fixture.safety.verdict(item.path));
        QCOMPARE(view->model().selected().size(), std::size_t{1});
    }

    // A node of the old tree may share its address with one of the new.
    void aNewScanClearsTheTicks() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        f.scanWithCopies({2}, {2'000'000});
        tick(view->model(), 0, 1);
        test::AppStateAccess(f.state()).setScan(f.shell.homeScan(), std::nullopt);
        QVERIFY(view->model().selected().empty());
        QCOMPARE(selectionBar(view)->count(), 0);
        QCOMPARE(bodyShown(view), QString("duplicatesIdle"));
    }

    // Deleted copies leave their group, and a group left with one file goes; a tick on a
    // deleted copy counts nowhere.
    void aDeletionTakesOutCopiesAndGroups() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        const auto groups = f.scanWithCopies({3, 2}, {2'000'000, 2'000'000});
        DuplicatesModel& model = view->model();
        tick(model, 0, 2);
        f.state().removeDeleted({groups[0].files[2]->path(), groups[1].files[1]->path()});
        QCOMPARE(model.groups().size(), std::size_t{1});
        QCOMPARE(model.rowCount(model.sectionIndex(0)), 2);
        QCOMPARE(selectionBar(view)->count(), 0);
        QCOMPARE(find<ElidedLabel>(view, "duplicatesSummary")->text(),
                 QString("1 groups · %1 recoverable").arg(byteText(2'000'000)));
    }

    // A search over a tree that was replaced publishes nothing, and a report after the
    // result leaves no bar behind.
    void lateResultsAndReportsAreDropped() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        f.search.answer(f.scanWithCopies({2}, {2'000'000}, false));
        view->findDuplicates();
        test::AppStateAccess(f.state()).setScan(f.shell.homeScan(), std::nullopt);
        f.search.gate.open();
        QTRY_VERIFY(findButton(view)->isEnabled());
        QCOMPARE(bodyShown(view), QString("duplicatesIdle"));
        QVERIFY(f.state().duplicates().empty());

        f.search.answer(f.scanWithCopies({2}, {2'000'000}, false));
        view->findDuplicates();
        QTRY_COMPARE(bodyShown(view), QString("duplicatesResults"));
        f.search.shared->progress(0.75);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(bodyShown(view), QString("duplicatesResults"));
        QVERIFY(findButton(view)->isEnabled());
    }

    void showInFinderRevealsTheFile() {
        DuplicatesFixture f;
        DuplicatesView* view = f.show();
        const auto groups = f.scanWithCopies({2}, {2'000'000});
        QMenu menu;
        view->populateRowMenu(menu, view->model().fileAt(view->model().entryIndex(0, 1)));
        auto* reveal = menu.findChild<QAction*>(QStringLiteral("revealAction"));
        QVERIFY(reveal != nullptr);
        QCOMPARE(reveal->text(), QString("Show in Finder"));
        reveal->trigger();
        QCOMPARE(f.shell.fixture.workspace.revealed(),
                 (std::vector<std::vector<std::string>>{{groups[0].files[1]->path()}}));
    }

    void theModelKeepsToTheRules() {
        DuplicatesFixture f;
        f.shell.makeState();
        DuplicatesModel model(f.shell.fixture.locations);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        const auto groups = f.scanWithCopies({2, 3, 400}, {2'000'000, 3'000'000, 1'100'000});
        model.setGroups(f.scan, groups);
        QCOMPARE(model.rowCount(model.sectionIndex(2)), SectionedListModel::maxShown + 1);
        model.selectAllCopies();
        QCOMPARE(model.selected().size(), std::size_t{1 + 2 + 399});
        model.setGroups(f.scan, {});
        QCOMPARE(model.rowCount(), 0);
    }
};

DORVALE_QT_TEST(DuplicatesTest)

} // namespace dorvale

#include "DuplicatesTest.moc"
