#include "app/AppState.hpp"
#include "cleanup/LoginItemsView.hpp"
#include "cleanup/SystemDataView.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QRegularExpression>
#include <QtTest>

namespace dorvale {

namespace {

std::string plist(std::string_view label, std::string_view program, bool keepAlive) {
    std::string body = "<key>Label</key><string>" + std::string(label) +
                       "</string><key>Program</key><string>" + std::string(program) +
                       "</string><key>RunAtLoad</key><true/>";
    if (keepAlive) {
        body += "<key>KeepAlive</key><true/>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body +
           "</dict></plist>\n";
}

// The session's own: user and system autostart entries (one switched off, one with long
// names) and an enabled user unit.
void writeSessionItems(test::FixtureTree& tree, const std::string& program) {
    const auto entry = [&tree](std::string_view relative, std::string_view keys) {
        tree.file(relative, "[Desktop Entry]\nType=Application\n" + std::string(keys) + "\n");
    };
    entry("Users/a/.config/autostart/notes.desktop", "Name=Notes\nExec=\"" + program + "\" --tray");
    entry("Users/a/.config/autostart/chat.desktop", "Name=Chat\nExec=chat\nHidden=true");
    entry("etc/xdg/autostart/org.example.a-remarkably-long-session-helper-name.desktop",
          "Name=A Remarkably Long Session Helper That Starts With Every Desktop Session\n"
          "Exec=/usr/libexec/a-remarkably-long-session-helper-name/with/a/deep/path/helper");
    tree.file("Users/a/.config/systemd/user/sync.service",
              "[Unit]\nDescription=File sync\n[Service]\nExecStart=\"" + program +
                  "\"\nRestart=always\n");
    tree.symlink("../sync.service",
                 "Users/a/.config/systemd/user/default.target.wants/sync.service");
}

// Launch items of every scope: owned, ownerless, orphaned, protected, and one whose names run
// long.
void writeLaunchItems(test::ShellFixture& shell) {
    test::FixtureTree& tree = shell.fixture.tree;
    const std::string app = tree.file("Applications/Sync Helper.app/Contents/MacOS/sync");
    const std::string longApp = tree.file(
        "Applications/A Remarkably Long Application Name For Backups And Everything Else.app/"
        "Contents/MacOS/run-the-whole-backup-schedule-every-hour");
    tree.file("Users/a/Library/LaunchAgents/com.example.sync.plist",
              plist("com.example.sync", app, false));
    tree.file("Users/a/Library/LaunchAgents/org.gone.updater.plist",
              plist("org.gone.updater", "/Applications/Gone.app/Contents/MacOS/update", false));
    tree.file("Users/a/Library/LaunchAgents/com.apple.helper.plist",
              plist("com.apple.helper", "/usr/libexec/helper", true));
    tree.file("Library/LaunchAgents/com.example.backup.plist",
              plist("com.example.backup.scheduler.with.a.very.long.label.indeed", longApp, true));
    tree.file("Library/LaunchDaemons/org.tool.daemon.plist",
              plist("org.tool.daemon", "/usr/local/bin/tool-daemon", true));
    writeSessionItems(tree, app);
}

void writeSystemData(test::ShellFixture& shell) {
    test::FixtureTree& tree = shell.fixture.tree;
    tree.allocatedFile("private/var/log/system.log", 2'000'000);
    tree.allocatedFile("Library/Caches/shared.db", 900'000);
    tree.allocatedFile("private/var/vm/swapfile0", 4'000'000);
    shell.fixture.processes.respond("/usr/bin/tmutil", {"listlocalsnapshots", "/"},
                                    "com.apple.TimeMachine.2024-05-01-101500.local\n"
                                    "com.apple.TimeMachine.2024-05-01-111500.local\n"
                                    "com.apple.TimeMachine.undated-snapshot-name\n");
    shell.fixture.administrator.setResult(
        {AdministratorStatus::Failed, 1, "The snapshot is in use and could not be deleted."});
}

} // namespace

// Draws the login items and System Data pages in the main window, filled and empty, at its
// least and at a large size, with nothing cut.
class SystemPagesGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void pages_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void pages() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        for (const bool filled : {true, false}) {
            const QString form = filled ? QString() : QStringLiteral("empty-");
            {
                test::ShellFixture shell;
                if (filled) {
                    writeLaunchItems(shell);
                }
                RootView* root = show(shell, AppSection::LoginItems, size);
                auto* view = root->findChild<LoginItemsView*>();
                QTRY_VERIFY(!view->isLoading());
                if (filled) {
                    view->remove(view->items().back());
                    QTRY_VERIFY(!view->isRemoving() && !view->isLoading());
                }
                picture(*root, "login-items-" + form + tag);
            }
            {
                test::ShellFixture shell;
                if (filled) {
                    writeSystemData(shell);
                }
                RootView* root = show(shell, AppSection::SystemData, size);
                auto* view = root->findChild<SystemDataView*>();
                QTRY_VERIFY(!view->isLoading());
                if (filled) {
                    view->deleteSnapshot(view->snapshots().front());
                    QTRY_VERIFY(!view->isDeleting());
                }
                picture(*root, "system-data-" + form + tag);
            }
        }
    }

private:
    static void picture(QWidget& widget, const QString& name) {
        test::finishAnimations(widget);
        test::savePictureWithNothingCut(widget, name);
    }

    static RootView* show(test::ShellFixture& shell, AppSection section, const QSize& size) {
        shell.makeState().setSection(section);
        RootView* root = shell.show(new RootView(*shell.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(shell.window.get());
        return root;
    }
};

DORVALE_QT_TEST(SystemPagesGalleryTest)

} // namespace dorvale

#include "SystemPagesGalleryTest.moc"
