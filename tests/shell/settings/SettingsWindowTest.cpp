#include "shell/settings/SettingsWindow.hpp"

#include "app/SettingsKeys.hpp"
#include "shell/settings/ExclusionsSettings.hpp"
#include "shell/settings/SettingsSection.hpp"
#include "shell/sheets/DeletionConfirmationSheet.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <string>
#include <vector>

namespace dorvale {

namespace {

using test::ShellFixture;
namespace Keys = SettingsKeys;

// The settings window over a state on fakes; change `f` before `open`.
struct SettingsFixture {
    SettingsWindow& open() {
        f.makeState();
        window = std::make_unique<SettingsWindow>(*f.state);
        window->show();
        return *window;
    }

    template <typename T>
    T* child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("No child %s", name);
        }
        return found;
    }

    // Shows the pane at `index`, as a click on its tab does.
    void showPane(int index) const { window->tabs()->setCurrentIndex(index); }

    // Chooses an option as the picker's list does, which also reports choosing the current one.
    static void choose(QComboBox* picker, int index) {
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    // Clicks a switch on its box: the text of a switch stretched across a form row does not
    // reach the row's middle.
    static void click(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

    // Chooses `path` in the folder picker behind "plus".
    void addFolder(const std::string& path) const {
        f.fixture.fileDialogs.queueFolder(path);
        child<QToolButton>("addButton")->click();
    }

    [[nodiscard]] QStringList listedPaths() const {
        QStringList paths;
        auto* list = child<QTreeWidget>("exclusionList");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            paths.append(list->topLevelItem(row)->text(0));
        }
        return paths;
    }

    mutable ShellFixture f;
    std::unique_ptr<SettingsWindow> window;
};

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowHasItsThreePanes() {
        SettingsFixture s;
        SettingsWindow& window = s.open();
        QTabWidget* tabs = window.tabs();
        QCOMPARE(tabs->count(), 3);
        const QStringList titles = {"General", "Automation", "Exclusions"};
        const QStringList symbols = {"gearshape", "calendar.badge.clock", "eye.slash"};
        for (int index = 0; index < tabs->count(); ++index) {
            QCOMPARE(tabs->tabText(index), titles[index]);
            QCOMPARE(tabs->widget(index)->property("symbol").toString(), symbols[index]);
            QVERIFY(!tabs->tabIcon(index).isNull());
        }
    }

    // Escape and the close shortcut close the window, as they close the desktop's own
    // settings windows.
    void theKeyboardClosesTheWindow_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }

    void theKeyboardClosesTheWindow() {
        QFETCH(QKeySequence, keys);
        SettingsFixture s;
        SettingsWindow& window = s.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keySequence(&window, keys);
        QVERIFY(!window.isVisible());
    }

    // Assistive technology reads each control with its label (Qt on Linux names a picker
    // by its current option and points to its label), and the tabs keep the style's distance
    // from the window's edge.
    void theControlsAreReadWithTheirLabels() {
        SettingsFixture s;
        SettingsWindow& window = s.open();
        const struct {
            const char* name;
            const char* label;
        } controls[] = {
            {"scheduleBox", "Clean safe junk automatically"},
            {"lowSpaceBox", "Warn me when free space drops below"},
        };
        for (const auto& control : controls) {
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(s.child<QWidget>(control.name));
            QStringList labels;
            for (const auto& [other, relation] : field->relations(QAccessible::Label)) {
                labels << other->text(QAccessible::Name);
            }
            QCOMPARE(labels, QStringList{QString::fromUtf8(control.label)});
        }
        const QRect tabs = window.tabs()->geometry();
        QVERIFY(tabs.left() > 0 && tabs.top() > 0);
        QVERIFY(tabs.right() < window.width() - 1 && tabs.bottom() < window.height() - 1);
    }

    void withNothingStoredTheControlsShowTheDefaults() {
        SettingsFixture s;
        s.open();
        QVERIFY(!s.child<QCheckBox>("permanentDeleteBox")->isChecked());
        QVERIFY(!s.child<QCheckBox>("launchAtLoginBox")->isChecked());
        QVERIFY(s.child<QCheckBox>("menuBarBox")->isChecked());
        QCOMPARE(s.child<QComboBox>("scheduleBox")->currentText(), QString("Off"));
        QCOMPARE(s.child<QComboBox>("lowSpaceBox")->currentText(), QString("10 GB"));
        QCOMPARE(s.f.fixture.settings.changeCount(), 0);
    }

    void theSwitchesWriteTheirBooleansAndFollowThem() {
        SettingsFixture s;
        s.open();
        auto* permanent = s.child<QCheckBox>("permanentDeleteBox");
        auto* menuBar = s.child<QCheckBox>("menuBarBox");
        SettingsFixture::click(permanent);
        QCOMPARE(s.f.fixture.settings.boolValue(Keys::permanentDelete), std::optional(true));
        QVERIFY(s.f.state->permanentDelete());
        QTest::keyClick(menuBar, Qt::Key_Space);
        QCOMPARE(s.f.fixture.settings.boolValue(Keys::menuBar), std::optional(false));
        QVERIFY(!s.f.state->background().menuBar());

        // Written elsewhere, the boxes follow at once.
        s.f.state->setPermanentDelete(false);
        s.f.state->background().setMenuBar(true);
        QVERIFY(!permanent->isChecked());
        QVERIFY(menuBar->isChecked());
    }

    // Assistive technology ticks a box through its toggle action, which sends `toggled` but
    // not `clicked`: every box still writes its setting, and unticks it again.
    void theSwitchesFollowAssistiveTechnology() {
        SettingsFixture s;
        s.open();
        const auto toggle = [&](const char* name) {
            QAccessibleInterface* box =
                QAccessible::queryAccessibleInterface(s.child<QCheckBox>(name));
            QVERIFY(box != nullptr && box->actionInterface() != nullptr);
            QVERIFY(box->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::toggleAction()));
            box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        };
        toggle("permanentDeleteBox");
        QCOMPARE(s.f.fixture.settings.boolValue(Keys::permanentDelete), std::optional(true));
        toggle("launchAtLoginBox");
        QCOMPARE(std::ranges::count(s.f.fixture.loginItems.calls(), std::string("register")), 1);
        QVERIFY(s.child<QCheckBox>("launchAtLoginBox")->isChecked());
        toggle("menuBarBox");
        QCOMPARE(s.f.fixture.settings.boolValue(Keys::menuBar), std::optional(false));

        toggle("permanentDeleteBox");
        QCOMPARE(s.f.fixture.settings.boolValue(Keys::permanentDelete), std::optional(false));
        toggle("launchAtLoginBox");
        QCOMPARE(std::ranges::count(s.f.fixture.loginItems.calls(), std::string("unregister")), 1);
        QVERIFY(!s.child<QCheckBox>("launchAtLoginBox")->isChecked());
    }

    void anOpenConfirmationSheetFollowsTheDeletionSwitch() {
        SettingsFixture s;
        s.open();
        const std::string file = s.f.fixture.tree.allocatedFile("Users/a/Downloads/a.zip", 4'096);
        s.f.state->requestDeletion(
            QStringLiteral("Delete"),
            {PlanItem{PlanCandidate{.path = file, .name = "a.zip", .size = 4'096},
                      s.f.fixture.safety.verdict(file)}});
        DeletionConfirmationSheet sheet(*s.f.state, *s.f.state->plan(), s.window.get());
        sheet.open();
        auto* button = sheet.findChild<QPushButton*>(QStringLiteral("deleteButton"));
        QCOMPARE(button->text(), QString("Delete"));
        SettingsFixture::click(s.child<QCheckBox>("permanentDeleteBox"));
        QCOMPARE(button->text(), QString("Delete Permanently"));
        QCOMPARE(sheet.findChild<WrappingLabel*>(QStringLiteral("removalNotice"))->text(),
                 QString("These will be deleted permanently. They can't be recovered."));
    }

    void launchAtLoginShowsWhatThePlatformReports() {
        SettingsFixture s;
        s.open();
        auto* box = s.child<QCheckBox>("launchAtLoginBox");
        SettingsFixture::click(box);
        QVERIFY(box->isChecked());
        const std::vector<std::string>& calls = s.f.fixture.loginItems.calls();
        QCOMPARE(std::ranges::count(calls, std::string("register")), 1);
        SettingsFixture::click(box);
        QVERIFY(!box->isChecked());

        s.f.fixture.loginItems.failWith(FileError{
            .code = EACCES, .operation = FileOperation::Write, .path = "/autostart", .detail = {}});
        QTest::ignoreMessage(QtWarningMsg, "Launch at login: Permission denied");
        SettingsFixture::click(box);
        QVERIFY(!box->isChecked());

        // Enabled outside the program: read again when the pane is shown.
        s.f.fixture.loginItems.succeed();
        s.f.fixture.loginItems.setEnabled(true);
        s.showPane(1);
        s.showPane(0);
        QVERIFY(box->isChecked());
    }

    // This desktop has no privacy gate for programs: nothing in the pane offers to open one,
    // whatever the probe said.
    void theGeneralPaneHasNoAccessRow() {
        SettingsFixture s;
        s.f.fixture.fullDiskAccess = false;
        s.open();
        auto* pane = s.child<QWidget>("generalSettings");
        QVERIFY(pane->findChildren<QPushButton*>().isEmpty());
        for (const auto* label : pane->findChildren<QLabel*>()) {
            QVERIFY2(!label->text().contains(QStringLiteral("Access")), qPrintable(label->text()));
        }
    }

    void theSchedulePickerWritesItsRawValue() {
        SettingsFixture s;
        s.f.fixture.settings.setText(Keys::cleanSchedule, "hourly");
        s.open();
        s.showPane(1);
        auto* picker = s.child<QComboBox>("scheduleBox");
        QCOMPARE(picker->currentText(), QString("Off"));
        QCOMPARE(s.f.fixture.settings.textValue(Keys::cleanSchedule),
                 std::optional<std::string>("hourly"));
        QCOMPARE(picker->count(), 4);
        QCOMPARE(picker->itemText(3), QString("Every month"));

        SettingsFixture::choose(picker, 2);
        QCOMPARE(s.f.fixture.settings.textValue(Keys::cleanSchedule),
                 std::optional<std::string>("weekly"));
        QCOMPARE(s.f.fixture.notifier.permissionRequests(), 1);
        SettingsFixture::choose(picker, 2);
        QCOMPARE(s.f.fixture.notifier.permissionRequests(), 2);
        SettingsFixture::choose(picker, 0);
        QCOMPARE(s.f.fixture.settings.textValue(Keys::cleanSchedule),
                 std::optional<std::string>("off"));
        QCOMPARE(s.f.fixture.notifier.permissionRequests(), 2);

        s.f.state->background().setSchedule(CleanSchedule::Daily);
        QCOMPARE(picker->currentText(), QString("Every day"));
    }

    void theThresholdPickerWritesAnInteger() {
        SettingsFixture s;
        s.f.fixture.settings.setInteger(Keys::lowSpaceGB, 7);
        s.open();
        auto* picker = s.child<QComboBox>("lowSpaceBox");
        // A value no option holds shows none and stays stored as it is.
        QCOMPARE(picker->currentIndex(), -1);
        QCOMPARE(s.f.fixture.settings.integerValue(Keys::lowSpaceGB),
                 std::optional<std::int64_t>(7));
        const QStringList options = {"Never", "5 GB", "10 GB", "20 GB", "50 GB"};
        for (int index = 0; index < options.size(); ++index) {
            QCOMPARE(picker->itemText(index), options[index]);
        }

        SettingsFixture::choose(picker, 3);
        QCOMPARE(s.f.fixture.settings.integerValue(Keys::lowSpaceGB),
                 std::optional<std::int64_t>(20));
        QCOMPARE(s.f.fixture.notifier.permissionRequests(), 1);
        SettingsFixture::choose(picker, 0);
        QCOMPARE(s.f.fixture.settings.integerValue(Keys::lowSpaceGB),
                 std::optional<std::int64_t>(0));
        QCOMPARE(s.f.fixture.notifier.permissionRequests(), 1);

        s.f.state->settingsStore().setText(Keys::lowSpaceGB, "20");
        QCOMPARE(picker->currentText(), QString("10 GB"));
    }

    void runNowShowsEveryAutomaticCleanInFlight() {
        SettingsFixture s;
        test::Gate gate;
        s.f.services.scanJunk = [pass = gate.pass()](auto&&...) {
            pass();
            return std::vector<JunkFinding>{};
        };
        s.open();
        s.showPane(1);
        BackgroundServices& background = s.f.state->background();
        background.start();
        auto* runNow = s.child<QPushButton>("runNowButton");
        auto* lastRun = s.child<QLabel>("lastRunLabel");
        QCOMPARE(runNow->text(), QString("Run Now"));
        QVERIFY(!lastRun->isVisible());

        // A clean the schedule started shows here as well.
        QVERIFY(background.runAutoClean());
        QCOMPARE(runNow->text(), QString("Cleaning…"));
        QVERIFY(!runNow->isEnabled());
        QSignalSpy running(&background, &BackgroundServices::autoCleanRunningChanged);
        gate.open();
        QVERIFY(running.wait());
        QCOMPARE(runNow->text(), QString("Run Now"));
        QVERIFY(runNow->isEnabled());
        QVERIFY(lastRun->isVisible());
        QVERIFY(lastRun->text().endsWith(" · Zero KB"));

        QTest::mouseClick(runNow, Qt::LeftButton);
        QVERIFY(background.autoCleanRunning());
        QCOMPARE(runNow->text(), QString("Cleaning…"));
        QVERIFY(running.wait());
        QVERIFY(!background.autoCleanRunning());
        QCOMPARE(runNow->text(), QString("Run Now"));
    }

    void exclusionsAddAndRemoveKeepTheLineSeparatedList() {
        SettingsFixture s;
        s.open();
        s.showPane(2);
        const std::string root = s.f.fixture.locations.dataVolume;
        auto* remove = s.child<QToolButton>("removeButton");
        QVERIFY(!remove->isEnabled());

        // The data volume's prefix is dropped; a folder listed already is listed again.
        s.addFolder(root + "/Users/a/Movies");
        s.addFolder("/srv/cache");
        s.addFolder(root + "/Users/a/Movies");
        s.addFolder(root);
        QCOMPARE(s.f.fixture.settings.textValue(Keys::excludedPaths),
                 std::optional<std::string>("/Users/a/Movies\n/srv/cache\n/Users/a/Movies\n/"));
        QCOMPARE(s.listedPaths(),
                 (QStringList{"/Users/a/Movies", "/srv/cache", "/Users/a/Movies", "/"}));

        // Cancelling the picker changes nothing.
        s.child<QToolButton>("addButton")->click();
        QCOMPARE(s.listedPaths().size(), 4);

        auto* list = s.child<QTreeWidget>("exclusionList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(2)).center());
        QVERIFY(remove->isEnabled());
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(s.f.fixture.settings.textValue(Keys::excludedPaths),
                 std::optional<std::string>("/srv/cache\n/"));
        QCOMPARE(s.listedPaths(), (QStringList{"/srv/cache", "/"}));
        // The selection still names the removed path: nothing is highlighted, and "minus"
        // stays enabled, storing the same list again.
        QCOMPARE(s.window->findChild<ExclusionsSettings*>()->selection(),
                 std::optional<std::string>("/Users/a/Movies"));
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(remove->isEnabled());
        QSignalSpy stored(s.f.state.get(), &AppState::excludedRawChanged);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(stored.count(), 1);
        QCOMPARE(s.f.state->excludedRaw(), std::string("/srv/cache\n/"));
    }

    void aFolderWithALineFeedIsRefused() {
        SettingsFixture s;
        s.f.fixture.settings.setText(Keys::excludedPaths, "/srv/cache");
        s.open();
        s.showPane(2);
        auto* refusal = s.child<QWidget>("exclusionRefusal");
        QVERIFY(!refusal->isVisible());
        s.addFolder("/srv/two\nlines");
        QVERIFY(refusal->isVisible());
        QCOMPARE(s.f.state->excludedRaw(), std::string("/srv/cache"));
        QCOMPARE(s.listedPaths(), QStringList{"/srv/cache"});
        s.addFolder("/srv/more");
        QVERIFY(!refusal->isVisible());
        QCOMPARE(s.f.state->excludedRaw(), std::string("/srv/cache\n/srv/more"));
    }
};

DORVALE_QT_TEST(SettingsWindowTest)

} // namespace dorvale

#include "SettingsWindowTest.moc"
