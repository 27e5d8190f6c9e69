#include "app/AppState.hpp"
#include "app/BackgroundServices.hpp"
#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "support/FileChecks.hpp"
#include "support/TestValues.hpp"
#include "support/app/AppFixture.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/Gate.hpp"
#include "support/qt/QtTests.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using namespace std::chrono_literals;
using test::AppFixture;
using test::FakeNotifier;
using test::Gate;

constexpr Timestamp now = 1'700'000'000;

struct BackgroundFixture {
    BackgroundFixture() { services.delays.backgroundInterval = 1h; }

    // Starts the services and waits for the clean that starting began, if any.
    void startAndSettle(AppState& state) {
        state.background().start();
        QVERIFY(QTest::qWaitFor([&state] { return !state.background().autoCleanRunning(); }));
    }

    AppFixture fixture;
    AppServices services = fixture.services();
};

// A junk scan that hands back the findings a test sets, whatever the rules.
JunkScanFunction fixedFindings(std::vector<JunkFinding> findings) {
    return [findings](std::span<const JunkRule>, const Locations&, const Clock&,
                      const JunkScan::AccessProbe&) {
        return findings;
    };
}

JunkFinding cacheFinding(std::string path, std::int64_t size) {
    return JunkFinding{.rule = test::catalogueRule("user-caches"),
                       .items = {JunkItem{.id = std::move(path),
                                          .ruleID = "user-caches",
                                          .size = size,
                                          .fileCount = 1,
                                          .modified = {}}}};
}

struct DueCase {
    const char* name;
    std::optional<std::string> schedule;
    std::optional<Timestamp> lastClean;
    bool due;
};

struct LatchStep {
    std::int64_t available;
    std::size_t warnings;
    bool latched;
};

struct NotificationCase {
    std::int64_t freed;
    std::vector<FakeNotifier::Notification> posted;
};

class BackgroundOperationsTest final : public QObject {
    Q_OBJECT

private slots:
    void theCleanIsDueOnceItsPeriodHasPassed() {
        const DueCase cases[] = {
            {"no schedule", std::nullopt, std::nullopt, false},
            {"off", "off", std::nullopt, false},
            {"unknown text", "hourly", std::nullopt, false},
            {"daily, never cleaned", "daily", std::nullopt, true},
            {"daily, a day less a second ago", "daily", now - 86'399, false},
            {"weekly at 604,799 s", "weekly", now - 604'799, false},
            {"weekly at 604,800 s", "weekly", now - 604'800, true},
            {"monthly at 30 days", "monthly", now - 2'592'000, true},
        };
        for (const DueCase& due : cases) {
            BackgroundFixture f;
            Gate held;
            f.services.scanJunk = [pass = held.pass()](std::span<const JunkRule>, const Locations&,
                                                       const Clock&, const JunkScan::AccessProbe&) {
                pass();
                return std::vector<JunkFinding>();
            };
            if (due.schedule) {
                f.fixture.settings.setText(SettingsKeys::cleanSchedule, *due.schedule);
            }
            if (due.lastClean) {
                f.fixture.settings.setDate(SettingsKeys::lastAutoClean, *due.lastClean);
            }
            AppState state(f.services);
            state.background().start();
            QVERIFY2(state.background().autoCleanRunning() == due.due, due.name);
            held.open();
            QVERIFY(QTest::qWaitFor([&state] { return !state.background().autoCleanRunning(); }));
        }
    }

    void theLowSpaceWarningIsGivenOncePerCrossing() {
        BackgroundFixture f;
        f.fixture.settings.setInteger(SettingsKeys::lowSpaceGB, 10);
        AppState state(f.services);
        BackgroundServices& background = state.background();
        const LatchStep steps[] = {
            {9'999'999'999, 1, true},   {5'000'000'000, 1, true},   {12'000'000'000, 1, true},
            {12'000'000'001, 1, false}, {10'000'000'000, 1, false}, {20'000'000'000, 1, false},
            {9'999'999'999, 2, true},
        };
        for (const LatchStep& step : steps) {
            const int writes = f.fixture.settings.changeCount();
            const bool wasLatched = background.lowSpaceNotified();
            test::AppStateAccess(state).setVolume(
                VolumeInfo{"Disk", 500'000'000'000, step.available, step.available});
            background.checkLowSpace();
            QCOMPARE(f.fixture.notifier.posted().size(), step.warnings);
            QCOMPARE(background.lowSpaceNotified(), step.latched);
            // The latch is written only when it changes.
            QCOMPARE(f.fixture.settings.changeCount() - writes, wasLatched == step.latched ? 0 : 1);
        }
        const FakeNotifier::Notification warning{
            "Your Mac is running out of space",
            "Only 10 GB free. Open Dorvale to see what's taking up space."};
        QCOMPARE(f.fixture.notifier.posted().back(), warning);
    }

    void aThresholdOfZeroOrLessIsOffAndAHugeOneSaturates() {
        for (const std::int64_t gigabytes : {std::int64_t{0}, std::int64_t{-5}}) {
            BackgroundFixture f;
            f.fixture.settings.setInteger(SettingsKeys::lowSpaceGB, gigabytes);
            AppState state(f.services);
            const int writes = f.fixture.settings.changeCount();
            test::AppStateAccess(state).setVolume(VolumeInfo{"Disk", 10, 0, 0});
            state.background().checkLowSpace();
            QVERIFY(f.fixture.notifier.posted().empty());
            QCOMPARE(f.fixture.settings.changeCount(), writes);
        }
        BackgroundFixture f;
        f.fixture.settings.setInteger(SettingsKeys::lowSpaceGB,
                                      std::numeric_limits<std::int64_t>::max());
        AppState state(f.services);
        const std::int64_t most = std::numeric_limits<std::int64_t>::max();
        test::AppStateAccess(state).setVolume(VolumeInfo{"Disk", most, most - 1, most - 1});
        state.background().checkLowSpace();
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t{1});
        test::AppStateAccess(state).setVolume(VolumeInfo{"Disk", most, most, most});
        state.background().checkLowSpace();
        QVERIFY(state.background().lowSpaceNotified());
    }

    void startingCleansTheSafeJunkSilentlyAndSaysSo() {
        BackgroundFixture f;
        auto scanned = std::make_shared<std::vector<std::string>>();
        auto mutex = std::make_shared<std::mutex>();
        f.services.scanJunk = [scanned, mutex](std::span<const JunkRule> rules,
                                               const Locations& locations, const Clock& clock,
                                               const JunkScan::AccessProbe& probe) {
            {
                const std::lock_guard lock(*mutex);
                for (const JunkRule& rule : rules) {
                    scanned->push_back(rule.id);
                }
            }
            return JunkScan::scanRules(rules, locations, clock, probe);
        };
        auto& tree = f.fixture.tree;
        const std::string cache =
            tree.allocatedFile("Users/a/Library/Caches/big.cache", 60'000'256);
        const std::string log = tree.allocatedFile("Users/a/Library/Logs/app.log", 4'096);
        const std::string trashed = tree.allocatedFile("Users/a/.local/share/Trash/files/x", 4'096);
        const std::string cached = tree.allocatedFile("Users/a/.cache/pip/wheel", 4'096);
        const std::string archive =
            tree.allocatedFile("Users/a/Library/Developer/Xcode/Archives/a", 4'096);
        f.fixture.settings.setText(SettingsKeys::cleanSchedule, "daily");
        AppState state(f.services);
        const std::vector<DeletionFailure> failures{DeletionFailure{.path = "/earlier"}};
        test::AppStateAccess(state).setFailures(failures);
        QSignalSpy toast(&state, &AppState::toastChanged);
        f.startAndSettle(state);

        QVERIFY(!test::exists(cache) && !test::exists(log));
        for (const std::string& kept : {trashed, cached, archive}) {
            QVERIFY2(test::exists(kept), kept.c_str());
        }
        for (const std::string& id : *scanned) {
            const JunkRule& rule = test::catalogueRule(id);
            QVERIFY(id != "trash" && rule.risk == Risk::Safe && rule.inSmartClean &&
                    rule.removal == Removal::Permanent);
        }
        QCOMPARE(state.history().entries().size(), std::size_t{2});
        QVERIFY(!state.history().entries().front().trashPath.has_value());
        QCOMPARE(toast.count(), 0);
        QCOMPARE(state.failures(), failures);

        const BackgroundServices& background = state.background();
        const std::int64_t freed = background.lastAutoCleanBytes();
        QVERIFY(freed >= 60'000'256 + 4'096);
        QCOMPARE(background.lastAutoClean(), std::optional(now));
        QCOMPARE(f.fixture.settings.dateValue(SettingsKeys::lastAutoClean), std::optional(now));
        QCOMPARE(f.fixture.settings.integerValue(SettingsKeys::lastAutoCleanBytes),
                 std::optional(freed));
        QCOMPARE(f.fixture.notifier.posted(),
                 (std::vector<FakeNotifier::Notification>{
                     {"Dorvale cleaned 60 MB",
                      "Caches, logs and other regenerable files. Everything else was left "
                      "untouched."}}));

        // The next clean waits a whole period from the end of this one.
        state.background().checkSchedule();
        QVERIFY(!state.background().autoCleanRunning());
    }

    void onlyACleanOfMoreThan50MBIsNotified() {
        // A clean frees what its items occupy, whole blocks of 4,096 bytes: the last block
        // below the limit and the first above it.
        const NotificationCase cases[] = {
            {0, {}},
            {12'207 * 4'096, {}},
            {12'208 * 4'096,
             {{"Dorvale cleaned 50 MB", "Caches, logs and other regenerable files. Everything else "
                                        "was left untouched."}}},
        };
        for (const NotificationCase& notification : cases) {
            BackgroundFixture f;
            const std::string blob =
                f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob", notification.freed);
            std::vector<JunkFinding> findings;
            if (notification.freed > 0) {
                findings.push_back(cacheFinding(blob, notification.freed));
            }
            f.services.scanJunk = fixedFindings(findings);
            AppState state(f.services);
            state.background().start();
            std::optional<DeletionReport> report;
            QVERIFY(state.background().runAutoClean(
                [&report](const DeletionReport& done) { report = done; }));
            QVERIFY(QTest::qWaitFor([&report] { return report.has_value(); }));
            QCOMPARE(report->freed, notification.freed);
            QCOMPARE(f.fixture.notifier.posted(), notification.posted);
            QCOMPARE(f.fixture.settings.integerValue(SettingsKeys::lastAutoCleanBytes),
                     std::optional(notification.freed));
            QCOMPARE(f.fixture.settings.dateValue(SettingsKeys::lastAutoClean), std::optional(now));
        }
    }

    void oneAutomaticCleanRunsAtATime() {
        BackgroundFixture f;
        const std::string blob =
            f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob", 70'000'000);
        const std::int64_t blobSize = test::allocated(blob);
        Gate held;
        f.services.scanJunk = [pass = held.pass(), found = cacheFinding(blob, 70'000'000)](
                                  std::span<const JunkRule>, const Locations&, const Clock&,
                                  const JunkScan::AccessProbe&) {
            pass();
            return std::vector<JunkFinding>{found};
        };
        f.fixture.settings.setText(SettingsKeys::cleanSchedule, "daily");
        AppState state(f.services);
        BackgroundServices& background = state.background();
        QSignalSpy running(&background, &BackgroundServices::autoCleanRunningChanged);
        background.start();
        QVERIFY(background.autoCleanRunning());

        // Run Now, a tick and a second start during the run start nothing.
        QVERIFY(!background.runAutoClean());
        background.checkSchedule();
        background.start();
        QTRY_COMPARE(held.arrivals(), 1);
        held.open();
        QTRY_VERIFY(!background.autoCleanRunning());
        QVERIFY(workerPool().waitForDone(30'000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(held.arrivals(), 1);
        QCOMPARE(running.count(), 2);
        QCOMPARE(background.lastAutoCleanBytes(), blobSize);
        QCOMPARE(state.history().entries().size(), std::size_t{1});
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t{1});
    }

    void startingTwiceKeepsOneTimer() {
        BackgroundFixture f;
        f.services.delays.backgroundInterval = 2h;
        f.fixture.volume = VolumeInfo{"Disk", 500'000'000'000, 1'000, 1'000};
        AppState state(f.services);
        BackgroundServices& background = state.background();
        test::AppStateAccess(state).setVolume(std::nullopt);
        background.start();
        QCOMPARE(state.volume(), f.fixture.volume);
        background.start();
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t{1});
        const QList<QTimer*> timers = background.findChildren<QTimer*>();
        QCOMPARE(timers.size(), 1);
        QVERIFY(timers.front()->isActive());
        QCOMPARE(timers.front()->intervalAsDuration(), std::chrono::milliseconds(2h));
    }

    void aHomeFolderThatIsNotAbsoluteFindsNoJunk() {
        BackgroundFixture f;
        const std::string blob = f.fixture.tree.allocatedFile("Users/a/Library/Caches/blob", 4'096);
        f.services.locations.home = "Users/a";
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromStdString(f.fixture.tree.root())));
        AppState state(f.services);
        state.background().start();
        std::optional<DeletionReport> report;
        QVERIFY(state.background().runAutoClean(
            [&report](const DeletionReport& done) { report = done; }));
        const bool ended = QTest::qWaitFor([&report] { return report.has_value(); });
        QDir::setCurrent(previous);
        QVERIFY(ended);
        QVERIFY(report->deletedPaths.empty() && report->failures.empty() &&
                report->skippedProtected.empty());
        QVERIFY(test::exists(blob));
    }

    void withoutTheStateNoCleanStarts() {
        BackgroundFixture f;
        SettingsStore store(f.fixture.settings);
        f.fixture.settings.setText(SettingsKeys::cleanSchedule, "daily");
        BackgroundServices background(f.services, store);
        background.checkSchedule();
        QVERIFY(!background.runAutoClean());
        QVERIFY(!background.autoCleanRunning());
    }

    void launchAtLoginGoesThroughTheLoginItemService() {
        BackgroundFixture f;
        AppState state(f.services);
        BackgroundServices& background = state.background();
        QSignalSpy changed(&background, &BackgroundServices::changed);
        background.setLaunchAtLogin(true);
        QVERIFY(background.launchAtLogin());
        QCOMPARE(changed.count(), 1);

        f.fixture.loginItems.failWith(FileError{
            .code = EACCES, .operation = FileOperation::Write, .path = "/autostart", .detail = {}});
        QTest::ignoreMessage(QtWarningMsg, "Launch at login: Permission denied");
        background.setLaunchAtLogin(false);
        QCOMPARE(changed.count(), 2);
        QVERIFY(!background.launchAtLogin());
        f.fixture.loginItems.succeed();
        QVERIFY(background.launchAtLogin());
        QCOMPARE(f.fixture.loginItems.calls(),
                 (std::vector<std::string>{"register", "isEnabled", "unregister", "isEnabled",
                                           "isEnabled"}));
    }
};

} // namespace

DORVALE_QT_TEST(BackgroundOperationsTest)

} // namespace dorvale

#include "BackgroundOperationsTest.moc"
