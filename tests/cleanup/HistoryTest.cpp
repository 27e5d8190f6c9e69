#include "app/AppState.hpp"
#include "cleanup/FailuresCard.hpp"
#include "cleanup/HistoryModel.hpp"
#include "cleanup/HistoryView.hpp"
#include "platform/Formatters.hpp"
#include "style/Theme.hpp"
#include "support/FileChecks.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/ListRoles.hpp"

#include <QAbstractItemModelTester>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <filesystem>

namespace dorvale {

namespace {

using test::contentsOf;

// The history page over a real state, with the real engine and Trash on the fixture home.
struct HistoryFixture {
    HistoryView* show(QSize size = {900, 640}) {
        AppState& made = shell.makeState();
        return shell.show(new HistoryView(made), size);
    }
    AppState& state() { return *shell.state; }

    // A file of the home folder with `contents`.
    std::string file(const std::string& name, std::string_view contents) {
        return shell.fixture.tree.file("Users/a/Documents/" + name, contents);
    }

    // Deletes each path in its way, as one silent run, and waits for its end.
    void remove(const std::vector<std::pair<std::string, Removal>>& items) {
        std::vector<DeletionRequest> requests;
        for (const auto& [path, removal] : items) {
            requests.push_back({.path = path, .removal = removal, .confirmedRisk = Risk::Review});
        }
        bool ended = false;
        state().runDeletion(std::move(requests), true,
                            [&ended](const DeletionReport&) { ended = true; });
        QTRY_VERIFY(ended);
    }

    test::ShellFixture shell;
};

QString cell(const HistoryView* view, int row, int column, int role = Qt::DisplayRole) {
    return view->model().index(row, column).data(role).toString();
}

// The row of the entry whose original path ends in `name`.
int rowOf(const HistoryView* view, const QString& name) {
    for (int row = 0; row < view->model().rowCount(); ++row) {
        if (cell(view, row, HistoryModel::Item) == name) {
            return row;
        }
    }
    return -1;
}

QPushButton* clearButton(const HistoryView* view) {
    return view->findChild<QPushButton*>(QStringLiteral("clearHistoryButton"));
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void withoutEntriesTheTableIsEmpty() {
        HistoryFixture f;
        HistoryView* view = f.show();
        QCOMPARE(view->model().rowCount(), 0);
        QVERIFY(!clearButton(view)->isEnabled());
        QVERIFY(!view->findChild<FailuresCard*>()->isVisible());
    }

    // Only an entry still in the Trash, whose original place is free, offers a restore; a
    // forced restore of one whose place is taken leaves both items as they are.
    void entriesOfferARestoreOnlyWhenItCanWork() {
        HistoryFixture f;
        HistoryView* view = f.show();
        const std::string gone = f.file("gone.txt", "gone");
        const std::string trashed = f.file("trashed.txt", "trashed");
        const std::string emptied = f.file("emptied.txt", "emptied");
        const std::string occupied = f.file("occupied.txt", "old");
        f.remove({{gone, Removal::Permanent},
                  {trashed, Removal::Trash},
                  {emptied, Removal::Trash},
                  {occupied, Removal::Trash}});
        QCOMPARE(view->model().rowCount(), 4);
        QVERIFY(clearButton(view)->isEnabled());
        const int emptiedRow = rowOf(view, "emptied.txt");
        std::filesystem::remove(*view->model().rowAt(emptiedRow).trashPath);
        f.file("occupied.txt", "new");

        const struct {
            const char* name;
            const char* method;
            bool restorable;
        } cases[] = {{"gone.txt", "Deleted", false},
                     {"trashed.txt", "Trash", true},
                     {"emptied.txt", "Trash", false},
                     {"occupied.txt", "Trash", false}};
        for (const auto& c : cases) {
            const int row = rowOf(view, c.name);
            QVERIFY2(row >= 0, c.name);
            QCOMPARE(cell(view, row, HistoryModel::Method), QString(c.method));
            QCOMPARE(cell(view, row, HistoryModel::Restore),
                     c.restorable ? QString("Restore") : QString());
        }
        const int row = rowOf(view, "trashed.txt");
        QCOMPARE(cell(view, row, HistoryModel::Item, DetailRole),
                 QString("~/Documents/trashed.txt"));
        QCOMPARE(cell(view, row, HistoryModel::Date),
                 QString::fromStdString(shortDateTimeText(f.shell.fixture.clock.now())));

        const int occupiedRow = rowOf(view, "occupied.txt");
        const std::string inTrash = *view->model().rowAt(occupiedRow).trashPath;
        view->restoreRow(occupiedRow);
        QCOMPARE(contentsOf(occupied), std::string("new"));
        QCOMPARE(contentsOf(inTrash), std::string("old"));
        QVERIFY(!view->model().rowAt(rowOf(view, "occupied.txt")).restored);
        QVERIFY(!f.state().toast().has_value());
    }

    void theFailuresCardShowsTheFirstEight() {
        HistoryFixture f;
        HistoryView* view = f.show();
        std::vector<DeletionFailure> failures;
        for (int i = 0; i < 11; ++i) {
            failures.push_back(
                {.path = f.shell.fixture.locations.home + "/item" + std::to_string(i),
                 .reason = "Reason " + std::to_string(i)});
        }
        test::AppStateAccess(f.state()).setFailures(failures);
        auto* card = view->findChild<FailuresCard*>();
        QVERIFY(card->isVisible());
        QCOMPARE(card->findChild<ElidedLabel*>(QStringLiteral("failuresHeading"))->text(),
                 QString("Couldn’t be deleted in the last operation"));
        const auto paths = card->findChildren<ElidedLabel*>(QStringLiteral("failurePath"));
        QCOMPARE(paths.size(), 8);
        QCOMPARE(paths.front()->text(), QString("~/item0"));
        QCOMPARE(card->findChildren<ElidedLabel*>(QStringLiteral("failureReason")).back()->text(),
                 QString("Reason 7"));

        test::AppStateAccess(f.state()).setFailures({});
        QVERIFY(!card->isVisible());
    }

    void clearingForgetsTheEntriesButNotTheTrash() {
        HistoryFixture f;
        HistoryView* view = f.show();
        f.remove({{f.file("kept.txt", "kept"), Removal::Trash}});
        const std::string inTrash = *view->model().rowAt(0).trashPath;
        QTest::mouseClick(clearButton(view), Qt::LeftButton);
        QCOMPARE(view->model().rowCount(), 0);
        QVERIFY(!clearButton(view)->isEnabled());
        QCOMPARE(contentsOf(inTrash), std::string("kept"));
        QCOMPARE(contentsOf(f.state().history().fileLocation()), std::string("[]"));
    }

    // A click on the button brings the item back byte for byte, and the file records it.
    void aRestoreBringsTheItemBack() {
        HistoryFixture f;
        HistoryView* view = f.show();
        const std::string contents("bytes\0and\xff more", 15);
        const std::string path = f.file("back.bin", contents);
        f.remove({{path, Removal::Trash}});
        QVERIFY(!std::filesystem::exists(path));
        QTableView& table = view->table();
        const QRect button = table.visualRect(view->model().index(0, HistoryModel::Restore));
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, button.center());

        QCOMPARE(contentsOf(path), contents);
        QCOMPARE(cell(view, 0, HistoryModel::Method), QString("Restored"));
        QCOMPARE(
            view->model().index(0, HistoryModel::Method).data(Qt::ForegroundRole).value<QColor>(),
            Theme::safe());
        QCOMPARE(cell(view, 0, HistoryModel::Restore), QString());
        QVERIFY(!f.state().toast().has_value());
        QVERIFY(QString::fromStdString(contentsOf(f.state().history().fileLocation()))
                    .contains("\"restored\":true"));
    }

    void theModelKeepsToTheRules() {
        HistoryFixture f;
        f.shell.makeState();
        HistoryModel model(f.shell.fixture.locations);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setRows({HistoryEntry{.originalPath = "/a/b"}, HistoryEntry{.originalPath = "/a/c"}});
        model.sort(HistoryModel::Date, Qt::DescendingOrder);
        QCOMPARE(model.sortColumn(), -1);
        QCOMPARE(model.rowAt(0).originalPath, std::string("/a/b"));
        model.setRows({});
    }
};

DORVALE_QT_TEST(HistoryTest)

} // namespace dorvale

#include "HistoryTest.moc"
