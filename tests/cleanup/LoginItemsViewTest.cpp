#include "cleanup/LoginItemsView.hpp"

#include "app/AppState.hpp"
#include "cleanup/LoginItemRow.hpp"
#include "cleanup/LoginItemsModel.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

namespace dorvale {

namespace {

using Scope = LaunchItem::Scope;

std::string plist(std::string_view label, std::string_view program) {
    std::string body = "<key>Label</key><string>" + std::string(label) + "</string>";
    if (!program.empty()) {
        body += "<key>Program</key><string>" + std::string(program) + "</string>";
    }
    body += "<key>RunAtLoad</key><true/>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body +
           "</dict></plist>\n";
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

struct LoginFixture {
    // One launch property list in the folder of `scope`.
    std::string agent(Scope scope, std::string_view name, std::string_view label,
                      std::string_view program = {}) {
        const std::string folder =
            shell.fixture.locations.launchFolders()[static_cast<std::size_t>(scope)];
        return shell.fixture.tree.file(folder.substr(shell.fixture.tree.root().size() + 1) + "/" +
                                           std::string(name),
                                       plist(label, program));
    }
    // A program inside an application bundle of the fixture, which exists.
    std::string program(std::string_view app) {
        return shell.fixture.tree.file("Applications/" + std::string(app) +
                                       ".app/Contents/MacOS/run");
    }

    LoginItemsView* show(std::function<void()> hold = {}) {
        AppState& state = shell.makeState();
        auto* view = new LoginItemsView(state);
        view->setBeforeWork(std::move(hold));
        shell.show(view, {760, 520});
        return view;
    }

    test::ShellFixture shell;
};

// The section headings, and per section the titles of its rows.
QStringList shownRows(const LoginItemsView& view) {
    QStringList rows;
    const QAbstractItemModel* model = view.list()->model();
    for (int section = 0; section < model->rowCount(); ++section) {
        const QModelIndex header = model->index(section, 0);
        rows << header.data().toString();
        for (int entry = 0; entry < model->rowCount(header); ++entry) {
            rows << "  " + model->index(entry, 0, header).data(Qt::AccessibleTextRole).toString();
        }
    }
    return rows;
}

LoginItemRow* rowTitled(const LoginItemsView& view, const QString& title) {
    for (LoginItemRow* row : view.findChildren<LoginItemRow*>()) {
        if (row->findChild<ElidedLabel*>(QStringLiteral("titleText"))->text() == title) {
            return row;
        }
    }
    qFatal("No row titled %s", qPrintable(title));
}

void waitForLoad(LoginItemsView& view) {
    QTRY_VERIFY(!view.isLoading());
}

} // namespace

class LoginItemsViewTest : public QObject {
    Q_OBJECT

private slots:
    void noItemsShowAnEmptyListAtOnce() {
        LoginFixture login;
        LoginItemsView* view = login.show();
        waitForLoad(*view);

        QVERIFY(shownRows(*view).isEmpty());
        QVERIFY(view->list()->isVisible());
        QVERIFY(!view->findChild<QWidget*>(QStringLiteral("messageLine"))->isVisible());
        QVERIFY(view->findChild<IconButton*>(QStringLiteral("refreshButton"))->isEnabled());
    }

    void rowsFollowTheirScopesOwnersAndBadges() {
        LoginFixture login;
        const std::string tool = login.program("Tool");
        login.agent(Scope::UserAgent, "b.plist", "com.apple.helper");
        login.agent(Scope::UserAgent, "a.plist", "org.example.sync", tool);
        login.agent(Scope::UserAgent, "c.plist", "org.example.gone", "/nowhere/Gone.app/run");
        login.agent(Scope::SystemDaemon, "d.plist", "org.example.daemon");
        LoginItemsView* view = login.show();
        waitForLoad(*view);

        // The orphan comes first in its section; a scope without items has no section.
        QCOMPARE(shownRows(*view),
                 (QStringList{"Your login agents", "  Gone", "  com.apple.helper", "  Tool",
                              "System daemons", "  org.example.daemon"}));
        LoginItemRow* apple = rowTitled(*view, "com.apple.helper");
        QVERIFY(apple->findChild<IconButton*>(QStringLiteral("revealButton")) != nullptr);
        QCOMPARE(apple->findChild<RiskBadge*>(QStringLiteral("protectedBadge"))->text(),
                 QStringLiteral("Protected"));
        QVERIFY(apple->removeButton() == nullptr);
        QVERIFY(apple->findChild<SymbolIcon*>(QStringLiteral("gearIcon")) != nullptr);
        QVERIFY(apple->findChild<QWidget*>(QStringLiteral("atLoginText")) != nullptr);

        LoginItemRow* gone = rowTitled(*view, "Gone");
        QVERIFY(gone->findChild<QWidget*>(QStringLiteral("orphanBadge")) != nullptr);
        QCOMPARE(rowTitled(*view, "Tool")->findChild<QWidget*>(QStringLiteral("orphanBadge")),
                 nullptr);
        QCOMPARE(rowTitled(*view, "Tool")->removeButton()->text(), QStringLiteral("Remove"));
        QCOMPARE(rowTitled(*view, "org.example.daemon")->removeButton()->text(),
                 QStringLiteral("Remove…"));

        QTest::mouseClick(apple->findChild<IconButton*>(QStringLiteral("revealButton")),
                          Qt::LeftButton);
        QCOMPARE(login.shell.fixture.workspace.revealed().size(), std::size_t{1});
    }

    void aRemovalSaysSoAndReadsTheListAgain() {
        LoginFixture login;
        const std::string path =
            login.agent(Scope::UserAgent, "a.plist", "org.example.sync", login.program("Tool"));
        LoginItemsView* view = login.show();
        waitForLoad(*view);

        QSignalSpy removed(view, &LoginItemsView::removed);
        QTest::mouseClick(rowTitled(*view, "Tool")->removeButton(), Qt::LeftButton);
        QVERIFY(removed.wait());
        waitForLoad(*view);

        QCOMPARE(*view->message(),
                 QStringLiteral("“Tool” won't start automatically any more. Its file is in the "
                                "Trash."));
        QVERIFY(view->findChild<QWidget*>(QStringLiteral("messageLine"))->isVisible());
        QVERIFY(shownRows(*view).isEmpty());
        QVERIFY(!exists(path));
        QVERIFY(exists(login.shell.fixture.locations.trashFolder() + "/a.plist"));
    }

    void aSystemAutostartEntryIsSwitchedOffForThisUserWithoutAPrompt() {
        LoginFixture login;
        login.shell.fixture.tree.file("etc/xdg/autostart/keys.desktop",
                                      "[Desktop Entry]\nType=Application\nName=Keys\nExec=keys\n");
        LoginItemsView* view = login.show();
        waitForLoad(*view);
        QCOMPARE(shownRows(*view), (QStringList{"Agents for all users", "  Keys"}));
        QCOMPARE(rowTitled(*view, "Keys")->removeButton()->text(), QStringLiteral("Remove"));

        QSignalSpy removed(view, &LoginItemsView::removed);
        QTest::mouseClick(rowTitled(*view, "Keys")->removeButton(), Qt::LeftButton);
        QVERIFY(removed.wait());
        waitForLoad(*view);

        QCOMPARE(*view->message(), QStringLiteral("“Keys” won't start automatically any more."));
        QCOMPARE(shownRows(*view), (QStringList{"Your login agents", "  Keys"}));
        QVERIFY(rowTitled(*view, "Keys")->findChild<QWidget*>(QStringLiteral("switchedOffText")));
        QVERIFY(login.shell.fixture.administrator.calls().empty());

        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("loginSettingsButton")),
                          Qt::LeftButton);
        QCOMPARE(login.shell.fixture.workspace.opened(),
                 std::vector<std::string>{login.shell.fixture.locations.autostartFolder()});
    }

    void aCancelledPromptKeepsTheRow() {
        LoginFixture login;
        login.shell.fixture.administrator.setResult({AdministratorStatus::Cancelled, 126, {}});
        const std::string path = login.agent(Scope::SystemAgent, "s.plist", "org.example.shared");
        LoginItemsView* view = login.show();
        waitForLoad(*view);

        QSignalSpy removed(view, &LoginItemsView::removed);
        QTest::mouseClick(rowTitled(*view, "org.example.shared")->removeButton(), Qt::LeftButton);
        QVERIFY(removed.wait());
        waitForLoad(*view);

        QCOMPARE(*view->message(), QStringLiteral("Cancelled."));
        QCOMPARE(shownRows(*view), (QStringList{"Agents for all users", "  org.example.shared"}));
        QVERIFY(exists(path));
        QCOMPARE(login.shell.fixture.administrator.calls().size(), std::size_t{1});
    }

    void refreshAndRemovalWaitForTheirWork() {
        LoginFixture login;
        login.agent(Scope::UserAgent, "a.plist", "org.example.sync");
        auto first = std::make_unique<test::Gate>();
        LoginItemsView* view = login.show(first->pass());

        // The first load shows the indicator, with Refresh greyed out.
        QTRY_COMPARE(first->arrivals(), 1);
        auto* refresh = view->findChild<IconButton*>(QStringLiteral("refreshButton"));
        QVERIFY(!refresh->isEnabled());
        QVERIFY(view->findChild<QWidget*>(QStringLiteral("loadingIndicator"))->isVisible());
        first->open();
        waitForLoad(*view);
        QVERIFY(refresh->isEnabled());

        // A refresh of a filled list keeps the old rows until the new ones arrive.
        test::Gate second;
        view->setBeforeWork(second.pass());
        QTest::mouseClick(refresh, Qt::LeftButton);
        QVERIFY(!refresh->isEnabled());
        QVERIFY(view->list()->isVisible());
        QCOMPARE(shownRows(*view).size(), 2);
        second.open();
        waitForLoad(*view);

        // While a removal runs, no other can start.
        test::Gate third;
        view->setBeforeWork(third.pass());
        QPushButton* remove = rowTitled(*view, "org.example.sync")->removeButton();
        QTest::mouseClick(remove, Qt::LeftButton);
        QVERIFY(view->isRemoving());
        QVERIFY(!remove->isEnabled());

        // The page goes before its removal ends: the late outcome is dropped.
        delete view;
        third.open();
        QTRY_COMPARE(third.arrivals(), 1);
    }
};

DORVALE_QT_TEST(LoginItemsViewTest)

} // namespace dorvale

#include "LoginItemsViewTest.moc"
