#include "app/BackgroundServices.hpp"

#include "app/SettingsKeys.hpp"
#include "app/SettingsStore.hpp"
#include "support/app/AppFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QSignalSpy>
#include <QtTest>

#include <optional>
#include <string>
#include <string_view>

namespace dorvale {
namespace {

using test::AppFixture;

struct FallbackCase {
    const char* name;
    std::string_view key;
    std::optional<SettingValue> stored;
    std::string expected;
};

// What the record reads for `key`, written as text so one table covers every type.
std::string readBack(const BackgroundServices& services, std::string_view key) {
    const auto text = [](std::optional<std::int64_t> value) {
        return value ? std::to_string(*value) : std::string("none");
    };
    if (key == SettingsKeys::cleanSchedule) {
        return std::string(rawValue(services.schedule()));
    }
    if (key == SettingsKeys::lowSpaceGB) {
        return text(services.lowSpaceGB());
    }
    if (key == SettingsKeys::lowSpaceNotified) {
        return services.lowSpaceNotified() ? "true" : "false";
    }
    if (key == SettingsKeys::menuBar) {
        return services.menuBar() ? "true" : "false";
    }
    if (key == SettingsKeys::lastAutoClean) {
        const auto date = services.lastAutoClean();
        return text(date ? std::optional(static_cast<std::int64_t>(*date)) : std::nullopt);
    }
    return text(services.lastAutoCleanBytes());
}

class BackgroundServicesTest final : public QObject {
    Q_OBJECT

private slots:
    void settingsOfTheWrongTypeReadAsTheirDefaults() {
        using std::string;
        const FallbackCase cases[] = {
            {"no schedule", SettingsKeys::cleanSchedule, std::nullopt, "off"},
            {"weekly", SettingsKeys::cleanSchedule, string("weekly"), "weekly"},
            {"schedule in other case", SettingsKeys::cleanSchedule, string("Weekly"), "off"},
            {"unknown schedule", SettingsKeys::cleanSchedule, string("hourly"), "off"},
            {"schedule as integer", SettingsKeys::cleanSchedule, std::int64_t{1}, "off"},
            {"no threshold", SettingsKeys::lowSpaceGB, std::nullopt, "10"},
            {"threshold 20", SettingsKeys::lowSpaceGB, std::int64_t{20}, "20"},
            {"threshold 0", SettingsKeys::lowSpaceGB, std::int64_t{0}, "0"},
            {"negative threshold", SettingsKeys::lowSpaceGB, std::int64_t{-5}, "-5"},
            {"threshold as text", SettingsKeys::lowSpaceGB, string("20"), "10"},
            {"threshold as double", SettingsKeys::lowSpaceGB, 20.0, "10"},
            {"threshold as boolean", SettingsKeys::lowSpaceGB, true, "10"},
            {"no latch", SettingsKeys::lowSpaceNotified, std::nullopt, "false"},
            {"latch set", SettingsKeys::lowSpaceNotified, true, "true"},
            {"latch as text", SettingsKeys::lowSpaceNotified, string("true"), "false"},
            {"latch as integer", SettingsKeys::lowSpaceNotified, std::int64_t{1}, "false"},
            {"no tray setting", SettingsKeys::menuBar, std::nullopt, "true"},
            {"tray off", SettingsKeys::menuBar, false, "false"},
            {"tray as integer", SettingsKeys::menuBar, std::int64_t{0}, "true"},
            {"tray as text", SettingsKeys::menuBar, string("false"), "true"},
            {"never cleaned", SettingsKeys::lastAutoClean, std::nullopt, "none"},
            {"cleaned at a date", SettingsKeys::lastAutoClean, SettingDate{1000}, "1000"},
            {"clean date as integer", SettingsKeys::lastAutoClean, std::int64_t{1000}, "none"},
            {"clean date as double", SettingsKeys::lastAutoClean, 1000.0, "none"},
            {"no bytes", SettingsKeys::lastAutoCleanBytes, std::nullopt, "0"},
            {"bytes", SettingsKeys::lastAutoCleanBytes, std::int64_t{123}, "123"},
            {"bytes as text", SettingsKeys::lastAutoCleanBytes, string("123"), "0"},
            {"bytes as double", SettingsKeys::lastAutoCleanBytes, 123.0, "0"},
        };
        for (const FallbackCase& fallback : cases) {
            AppFixture fixture;
            if (fallback.stored) {
                fixture.settings.setValue(fallback.key, *fallback.stored);
            }
            const AppServices services = fixture.services();
            SettingsStore store(fixture.settings);
            const BackgroundServices background(services, store);
            QVERIFY2(readBack(background, fallback.key) == fallback.expected, fallback.name);
        }
    }

    void setterWritesTheRawValueAndAnnouncesIt() {
        AppFixture fixture;
        const AppServices services = fixture.services();
        SettingsStore store(fixture.settings);
        BackgroundServices background(services, store);
        QSignalSpy changed(&background, &BackgroundServices::changed);

        background.setSchedule(CleanSchedule::Monthly);
        QCOMPARE(fixture.settings.textValue(SettingsKeys::cleanSchedule),
                 std::optional<std::string>("monthly"));
        background.setLowSpaceGB(20);
        background.setMenuBar(false);
        background.setLowSpaceNotified(true);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(background.schedule(), CleanSchedule::Monthly);
        QCOMPARE(background.lowSpaceGB(), std::int64_t{20});
        QVERIFY(!background.menuBar());
        QVERIFY(background.lowSpaceNotified());

        // A writer that goes to the store directly is announced too; other keys are not.
        store.setText(SettingsKeys::cleanSchedule, "daily");
        QCOMPARE(changed.count(), 5);
        QCOMPARE(background.schedule(), CleanSchedule::Daily);
        store.setBool(SettingsKeys::permanentDelete, true);
        QCOMPARE(changed.count(), 5);
    }

    void theLastCleanIsPublishedAndMirroredInTheSettings() {
        AppFixture fixture;
        const AppServices services = fixture.services();
        SettingsStore store(fixture.settings);
        BackgroundServices background(services, store);
        QSignalSpy date(&background, &BackgroundServices::lastAutoCleanChanged);
        QSignalSpy bytes(&background, &BackgroundServices::lastAutoCleanBytesChanged);

        background.setLastAutoClean(1'700'000'500);
        background.setLastAutoCleanBytes(0);
        QCOMPARE(date.count(), 1);
        QCOMPARE(bytes.count(), 1);
        QCOMPARE(fixture.settings.dateValue(SettingsKeys::lastAutoClean),
                 std::optional<Timestamp>(1'700'000'500));
        QCOMPARE(fixture.settings.integerValue(SettingsKeys::lastAutoCleanBytes),
                 std::optional<std::int64_t>(0));

        const BackgroundServices reread(services, store);
        QCOMPARE(reread.lastAutoClean(), std::optional<Timestamp>(1'700'000'500));
        background.setLastAutoClean(std::nullopt);
        QVERIFY(!fixture.settings.value(SettingsKeys::lastAutoClean).has_value());
    }
};

} // namespace

DORVALE_QT_TEST(BackgroundServicesTest)

} // namespace dorvale

#include "BackgroundServicesTest.moc"
