#include "shell/DorvaleApp.hpp"

#include "app/AppState.hpp"
#include "app/SettingsKeys.hpp"
#include "platform/desktop/SingleInstance.hpp"
#include "shell/MainWindow.hpp"
#include "shell/RootView.hpp"
#include "shell/StateSheet.hpp"
#include "shell/settings/SettingsWindow.hpp"
#include "shell/tray/MenuBarPanel.hpp"
#include "support/app/AppFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDirIterator>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace dorvale {

namespace {

using namespace std::chrono_literals;

// The background services' period in these tests: long enough never to fire, and unlike any
// other timer's.
constexpr auto backgroundInterval = 3'600'000ms;

// The real application object on the fixture's fakes, with scans held on the latch and a
// tray whose presence the test decides.
struct AppRun {
    AppRun() {
        services.scan = fixture.scans.seam();
        services.delays.backgroundInterval = backgroundInterval;
    }

    DorvaleApp& start() {
        app = std::make_unique<DorvaleApp>(services, [this] {
            ++trayQuestions;
            return trayAvailable;
        });
        return *app;
    }

    [[nodiscard]] MainWindow& window() const { return *app->mainWindow(); }

    [[nodiscard]] QAction* action(const char* name) const {
        return window().findChild<QAction*>(QString::fromLatin1(name));
    }

    // Sends a shortcut to the main window as the user types it there.
    void press(QKeyCombination keys) const {
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&window(), keys.key(), keys.keyboardModifiers());
    }

    [[nodiscard]] int backgroundTimers() const {
        int count = 0;
        for (const QTimer* timer : app->state().background().findChildren<QTimer*>()) {
            count += timer->isActive() && timer->intervalAsDuration() == backgroundInterval;
        }
        return count;
    }

    test::AppFixture fixture;
    AppServices services{fixture.services()};
    bool trayAvailable = true;
    int trayQuestions = 0;
    std::unique_ptr<DorvaleApp> app;
};

// Every file and folder under `root` with its size and change time.
QStringList diskSnapshot(const std::string& root) {
    QStringList entries;
    QDirIterator it(QString::fromStdString(root),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

// The text of a menu or command as shown, without the marks of its underlined letter.
QString shownText(const QAction& action) {
    return QString(action.text()).remove(QLatin1Char('&'));
}

// The underlined letter of a menu or command, or nothing.
QChar mnemonic(const QAction& action) {
    const qsizetype mark = action.text().indexOf(QLatin1Char('&'));
    return mark >= 0 && mark + 1 < action.text().size() ? action.text().at(mark + 1).toLower()
                                                        : QChar();
}

// Runs the application's event loop until the program quits or `limit` passes; answers
// whether it quit.
bool quitsWithin(std::chrono::milliseconds limit, const std::function<void()>& act) {
    // A stray exit after the loop ended would end the next loop of a later test at once.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(limit);
    QTimer::singleShot(0, qApp, act);
    return QApplication::exec() == 0;
}

} // namespace

class DorvaleAppTest final : public QObject {
    Q_OBJECT

private slots:
    // Offscreen, windows cannot be raised or limited in size, and a tray icon shown on the
    // faked tray finds none of the platform's own; anything else fails.
    void init() {
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!This plugin does not support|.*systemTrayWindowChanged).*")));
    }
    void cleanup() { QApplication::setQuitOnLastWindowClosed(true); }

    void opensTheMainWindowWithTheApplicationsMenus() {
        AppRun run;
        run.start();
        MainWindow& window = run.window();
        QVERIFY(window.isVisible());
        QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
        // The offscreen screen is 800 × 800: the content's 1040 points of width do not fit
        // it, so the least width shrinks to what the window's frame leaves; its 680 points of
        // height do, and are kept.
        const QRect room = window.screen()->availableGeometry();
        QCOMPARE(room.size(), QSize(800, 800));
        const QSize frame = window.frameGeometry().size() - window.geometry().size();
        QCOMPARE(window.rootView()->minimumSize(), QSize(room.width() - frame.width(), 680));
        QVERIFY(window.minimumSizeHint().width() + frame.width() <= room.width());
        QStringList menus;
        for (const QAction* menu : window.menuBar()->actions()) {
            menus << shownText(*menu);
        }
        QCOMPARE(menus, QStringList({"Dorvale", "Scan"}));

        struct Command {
            const char* name;
            const char* text;
            QKeySequence shortcut;
        };
        const Command commands[] = {
            {"aboutAction", "About Dorvale", {}},
            {"checkForUpdatesAction", "Check for Updates…", {}},
            {"settingsAction", "Settings…", QKeySequence(QStringLiteral("Ctrl+,"))},
            {"quitAction", "Quit Dorvale", QKeySequence(QStringLiteral("Ctrl+Q"))},
            {"scanEntireDiskAction", "Scan Entire Disk", QKeySequence(QStringLiteral("Ctrl+R"))},
            {"scanHomeFolderAction", "Scan Home Folder",
             QKeySequence(QStringLiteral("Ctrl+Shift+R"))},
            {"scanFolderAction", "Scan Folder…", QKeySequence(QStringLiteral("Ctrl+O"))},
            {"quickCleanAction", "Quick Clean", QKeySequence(QStringLiteral("Ctrl+1"))},
        };
        for (const Command& command : commands) {
            const QAction* action = run.action(command.name);
            QVERIFY2(action != nullptr, command.name);
            QCOMPARE(shownText(*action), QString::fromUtf8(command.text));
            QCOMPARE(action->shortcut(), command.shortcut);
        }
        // "Check for Updates…" follows "About Dorvale" in the first menu; "Quick Clean" comes
        // after a divider in the scan menu.
        const QList<QAction*> first = window.findChild<QMenu*>("applicationMenu")->actions();
        QCOMPARE(first.at(0), run.action("aboutAction"));
        QCOMPARE(first.at(1), run.action("checkForUpdatesAction"));
        const QList<QAction*> scan = window.findChild<QMenu*>("scanMenu")->actions();
        QCOMPARE(scan.size(), 5);
        QVERIFY(scan.at(3)->isSeparator());
    }

    // The menus are reached from the keyboard: every menu and command has its own letter,
    // F10 opens the first menu and Alt with a menu's letter opens that menu.
    void theMenusOpenFromTheKeyboard() {
        AppRun run;
        run.start();
        QMenuBar* bar = run.window().menuBar();
        QList<QChar> menuLetters;
        for (const QAction* menu : bar->actions()) {
            QVERIFY2(!mnemonic(*menu).isNull(), qPrintable(menu->text()));
            QVERIFY2(!menuLetters.contains(mnemonic(*menu)), qPrintable(menu->text()));
            menuLetters << mnemonic(*menu);
            QList<QChar> letters;
            for (const QAction* command : menu->menu()->actions()) {
                if (command->isSeparator()) {
                    continue;
                }
                QVERIFY2(!mnemonic(*command).isNull(), qPrintable(command->text()));
                QVERIFY2(!letters.contains(mnemonic(*command)), qPrintable(command->text()));
                letters << mnemonic(*command);
            }
        }

        auto* first = run.window().findChild<QMenu*>("applicationMenu");
        run.press(QKeyCombination(Qt::Key_F10));
        QTRY_COMPARE(QApplication::activePopupWidget(), first);
        // Return on the first command opens About.
        QTest::keyClick(first, Qt::Key_Down);
        QTest::keyClick(first, Qt::Key_Return);
        QTRY_VERIFY(run.window().findChild<QDialog*>("aboutDialog") != nullptr);
        run.window().findChild<QDialog*>("aboutDialog")->close();

        run.press(Qt::ALT | Qt::Key_S);
        QTRY_COMPARE(QApplication::activePopupWidget(), run.window().findChild<QMenu*>("scanMenu"));
        QApplication::activePopupWidget()->close();
    }

    void theTrayIsNotAskedForWithTheMenuBarOff() {
        AppRun run;
        run.fixture.settings.setBool(SettingsKeys::menuBar, false);
        DorvaleApp& app = run.start();
        QVERIFY(!app.menuBarExtra().isShown());
        QCOMPARE(app.menuBarExtra().icon(), nullptr);
        QCOMPARE(run.trayQuestions, 0);
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QVERIFY(run.window().isVisible());
    }

    void theTrayIconFollowsTheSettingAndTheTray() {
        AppRun run;
        DorvaleApp& app = run.start();
        MenuBarExtra& extra = app.menuBarExtra();
        QVERIFY(extra.isShown());
        QVERIFY(extra.icon()->isVisible());
        QCOMPARE(extra.icon()->property("symbol").toString(), QStringLiteral("internaldrive"));
        QCOMPARE(extra.icon()->toolTip(), QStringLiteral("120 GB free"));
        QVERIFY(!QApplication::quitOnLastWindowClosed());

        BackgroundServices& background = app.state().background();
        background.setMenuBar(false);
        QVERIFY(!extra.isShown());
        QVERIFY(!extra.icon()->isVisible());
        QVERIFY(QApplication::quitOnLastWindowClosed());
        background.setMenuBar(true);
        QVERIFY(extra.isShown());
        QVERIFY(!QApplication::quitOnLastWindowClosed());

        // The tray is asked again at every refresh of the volume, each tick.
        run.trayAvailable = false;
        app.state().refreshVolume();
        QVERIFY(!extra.isShown());
        QVERIFY(QApplication::quitOnLastWindowClosed());
        run.trayAvailable = true;
        background.setLowSpaceGB(200);
        QVERIFY(extra.isShown());
        QCOMPARE(extra.icon()->property("symbol").toString(),
                 QStringLiteral("exclamationmark.triangle.fill"));
    }

    void withoutATrayClosingTheMainWindowQuits() {
        AppRun run;
        run.trayAvailable = false;
        DorvaleApp& app = run.start();
        QVERIFY(!app.menuBarExtra().isShown());
        QVERIFY(quitsWithin(10s, [&app] { app.mainWindow()->close(); }));
    }

    void aTrayThatGoesWhileNoWindowIsOpenEndsTheProgram() {
        AppRun run;
        DorvaleApp& app = run.start();
        app.mainWindow()->close();
        QTRY_COMPARE(app.mainWindow(), nullptr);
        run.trayAvailable = false;
        QVERIFY(quitsWithin(10s, [&app] { app.state().refreshVolume(); }));
    }

    void quitDorvaleAndThePanelsQuitEndTheProgram() {
        AppRun run;
        DorvaleApp& app = run.start();
        QVERIFY(quitsWithin(10s, [&run] { run.press(Qt::CTRL | Qt::Key_Q); }));
        QTRY_COMPARE(app.mainWindow(), nullptr);
        app.openMainWindow();
        QVERIFY(quitsWithin(10s, [&app] {
            app.menuBarExtra().togglePanel();
            app.menuBarExtra().panel()->findChild<QPushButton*>("quitButton")->click();
        }));
    }

    void quickCleanChangesOnlyTheSection() {
        AppRun run;
        AppState& state = run.start().state();
        state.setSection(AppSection::History);
        run.press(Qt::CTRL | Qt::Key_1);
        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.smartPhase(), SmartPhase::Idle);
        QVERIFY(!state.isScanning());
        QVERIFY(!state.junkLoading());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](const QWidget* window) { return window->isVisible(); }),
                 1);
    }

    void theScanShortcutsGoThroughTheAccessRule() {
        AppRun run;
        run.fixture.fullDiskAccess = false;
        DorvaleApp& app = run.start();
        AppState& state = app.state();
        run.press(Qt::CTRL | Qt::Key_R);
        QVERIFY(state.showAccessOnboarding());
        QVERIFY(!state.isScanning());
        QVERIFY(app.mainWindow()->rootView()->onboardingSheet()->dialog() != nullptr);
        QVERIFY(app.mainWindow()->rootView()->onboardingSheet()->dialog()->isVisible());
        app.mainWindow()->rootView()->onboardingSheet()->dialog()->close();
        QVERIFY(!state.showAccessOnboarding());

        run.fixture.fullDiskAccess = true;
        run.press(Qt::CTRL | Qt::SHIFT | Qt::Key_R);
        QVERIFY(state.isScanning());
        QCOMPARE(state.scanTarget(), ScanTarget::home());
        run.press(Qt::CTRL | Qt::Key_R);
        QVERIFY(state.isScanning());
        QCOMPARE(state.scanTarget(), ScanTarget::wholeDisk());
        state.cancelScan();

        // A folder needs no access; the picker is the toolbar's.
        const std::string photos = run.fixture.tree.folder("Users/a/Photos");
        run.fixture.fileDialogs.queueFolder(photos);
        run.press(Qt::CTRL | Qt::Key_O);
        QCOMPARE(state.scanTarget(), ScanTarget::folder(photos));
    }

    void closingAndReopeningTheWindowKeepsOneTimer() {
        AppRun run;
        DorvaleApp& app = run.start();
        QCOMPARE(run.backgroundTimers(), 1);
        app.mainWindow()->close();
        QTRY_COMPARE(app.mainWindow(), nullptr);
        // The checks go on without a window.
        QCOMPARE(run.backgroundTimers(), 1);
        app.state().setSection(AppSection::Junk);
        app.openMainWindow();
        QVERIFY(app.mainWindow()->isVisible());
        QCOMPARE(run.backgroundTimers(), 1);
        QCOMPARE(app.state().section(), AppSection::Junk);
    }

    void openDorvaleFromThePanelBringsBackAClosedWindow() {
        AppRun run;
        DorvaleApp& app = run.start();
        app.mainWindow()->close();
        QTRY_COMPARE(app.mainWindow(), nullptr);
        app.menuBarExtra().togglePanel();
        MenuBarPanel* panel = app.menuBarExtra().panel();
        QVERIFY(panel->isVisible());
        panel->findChild<QPushButton*>("openButton")->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(app.mainWindow() != nullptr);
        QVERIFY(app.mainWindow()->isVisible());
    }

    // The desktop entry or the autostart entry run while the program runs: the later launch
    // hands over, and the window comes back as "Open Dorvale" brings it.
    void aLaterLaunchBringsBackTheMainWindow() {
        AppRun run;
        DorvaleApp& app = run.start();
        const QTemporaryDir folder;
        SingleInstance running(folder.path().toStdString());
        app.answerLaterLaunches(running);
        app.mainWindow()->close();
        QTRY_COMPARE(app.mainWindow(), nullptr);

        const SingleInstance later(folder.path().toStdString());
        QVERIFY(!later.isPrimary());
        QVERIFY(later.activatePrimary(5s));
        QTRY_VERIFY(app.mainWindow() != nullptr && app.mainWindow()->isVisible());
    }

    void settingsOpensOneSettingsWindowWhoseMenuBarBoxSwitchesTheTray() {
        AppRun run;
        DorvaleApp& app = run.start();
        QCOMPARE(app.settingsWindow(), nullptr);
        run.press(Qt::CTRL | Qt::Key_Comma);
        SettingsWindow* settings = app.settingsWindow();
        QVERIFY(settings != nullptr);
        QVERIFY(settings->isVisible());
        run.action("settingsAction")->trigger();
        QCOMPARE(app.settingsWindow(), settings);

        auto* menuBar = settings->findChild<QCheckBox*>("menuBarBox");
        QVERIFY(menuBar->isChecked());
        menuBar->click();
        QVERIFY(!app.menuBarExtra().isShown());
        QVERIFY(QApplication::quitOnLastWindowClosed());
        // The settings window alone keeps the program open; closing it then would quit.
        app.mainWindow()->close();
        QTRY_COMPARE(app.mainWindow(), nullptr);
        QVERIFY(quitsWithin(10s, [settings] { settings->close(); }));
    }

    // About shows the program's own icon, its name, version and purpose, each on one line.
    void aboutShowsTheProgramOnUnbrokenLines() {
        AppRun run;
        run.start();
        run.action("aboutAction")->trigger();
        auto* about = run.window().findChild<QDialog*>("aboutDialog");
        QVERIFY(about != nullptr);
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowModality(), Qt::WindowModal);
        const QPixmap icon = about->findChild<QLabel*>("aboutIcon")->pixmap();
        QCOMPARE(icon.deviceIndependentSize(), QSizeF(96, 96));
        QCOMPARE(icon.toImage().pixelColor(icon.width() / 2, icon.height() / 2),
                 DorvaleApp::icon()
                     .pixmap(icon.size())
                     .toImage()
                     .pixelColor(icon.width() / 2, icon.height() / 2));
        const struct {
            const char* name;
            QString text;
        } lines[] = {
            {"aboutName", QStringLiteral("Dorvale")},
            {"aboutVersion", QStringLiteral("Version ") + QCoreApplication::applicationVersion()},
            {"aboutPurpose",
             QStringLiteral("Shows where your disk space goes and helps you take it back safely.")},
        };
        for (const auto& line : lines) {
            auto* label = about->findChild<ElidedLabel*>(line.name);
            QCOMPARE(label->text(), line.text);
            QCOMPARE(label->visibleLines(), QStringList{line.text});
        }
        about->close();
    }

    void checkForUpdatesExplainsAndChangesNothingOnDisk() {
        AppRun run;
        run.start();
        const QStringList before = diskSnapshot(run.fixture.tree.root());
        const int settingsWrites = run.fixture.settings.changeCount();
        run.action("checkForUpdatesAction")->trigger();
        auto* message = run.window().findChild<QMessageBox*>("updatesMessage");
        QVERIFY(message != nullptr);
        QVERIFY(message->isVisible());
        QCOMPARE(message->windowModality(), Qt::WindowModal);
        QCOMPARE(message->text(),
                 QStringLiteral("Dorvale is updated through your system’s package manager."));
        message->accept();
        QCOMPARE(diskSnapshot(run.fixture.tree.root()), before);
        QCOMPARE(run.fixture.settings.changeCount(), settingsWrites);
    }
};

DORVALE_QT_TEST(DorvaleAppTest)

} // namespace dorvale

#include "DorvaleAppTest.moc"
