#include "app/AppState.hpp"
#include "app/BackgroundServices.hpp"
#include "app/SettingsKeys.hpp"
#include "support/app/AppFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using namespace std::chrono_literals;
using test::AppFixture;
using test::FakeNotifier;

struct BackgroundFixture {
    BackgroundFixture() { services.delays.backgroundInterval = 1h; }

    AppFixture fixture;
    AppServices services = fixture.services();
};

struct LatchStep {
    std::int64_t available;
    std::size_t warnings;
    bool latched;
};

class BackgroundOperationsTest final : public QObject {
    Q_OBJECT

private slots:
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
            background.setVolume(
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
            state.background().setVolume(VolumeInfo{"Disk", 10, 0, 0});
            state.background().checkLowSpace();
            QVERIFY(f.fixture.notifier.posted().empty());
            QCOMPARE(f.fixture.settings.changeCount(), writes);
        }
        BackgroundFixture f;
        f.fixture.settings.setInteger(SettingsKeys::lowSpaceGB,
                                      std::numeric_limits<std::int64_t>::max());
        AppState state(f.services);
        const std::int64_t most = std::numeric_limits<std::int64_t>::max();
        state.background().setVolume(VolumeInfo{"Disk", most, most - 1, most - 1});
        state.background().checkLowSpace();
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t{1});
        state.background().setVolume(VolumeInfo{"Disk", most, most, most});
        state.background().checkLowSpace();
        QVERIFY(state.background().lowSpaceNotified());
    }

    void startingTwiceKeepsOneTimer() {
        BackgroundFixture f;
        f.services.delays.backgroundInterval = 2h;
        f.fixture.volume = VolumeInfo{"Disk", 500'000'000'000, 1'000, 1'000};
        AppState state(f.services);
        BackgroundServices& background = state.background();
        background.setVolume(std::nullopt);
        background.start(state);
        QCOMPARE(background.volume(), f.fixture.volume);
        background.start(state);
        QCOMPARE(f.fixture.notifier.posted().size(), std::size_t{1});
        const QList<QTimer*> timers = background.findChildren<QTimer*>();
        QCOMPARE(timers.size(), 1);
        QVERIFY(timers.front()->isActive());
        QCOMPARE(timers.front()->intervalAsDuration(), std::chrono::milliseconds(2h));
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
