#include "app/AppSection.hpp"
#include "app/CleanSchedule.hpp"
#include "app/PlanItem.hpp"
#include "app/ScanTarget.hpp"
#include "app/Toast.hpp"
#include "platform/Locations.hpp"
#include "support/qt/QtTests.hpp"

#include <QtTest>

#include <functional>
#include <string>

namespace dorvale {
namespace {

class AppRecordsTest final : public QObject {
    Q_OBJECT

private slots:
    void sectionsKeepTheirRawValuesTitlesAndSymbols_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("position");
        int position = 0;
        const auto row = [&position](const char* raw, const char* title, const char* symbol) {
            QTest::newRow(raw) << QString(raw) << QString(title) << QString(symbol) << position++;
        };
        row("smartClean", "Quick Clean", "wand.and.stars");
        row("overview", "Overview", "chart.pie.fill");
        row("explorer", "Explorer", "folder.fill");
        row("types", "By Type", "square.stack.3d.up.fill");
        row("large", "Large & Old", "arrow.up.left.and.arrow.down.right");
        row("systemData", "System Data", "gearshape.2.fill");
        row("apps", "Applications", "square.grid.2x2.fill");
        row("leftovers", "App Leftovers", "puzzlepiece.extension.fill");
        row("loginItems", "Login Items", "power.circle.fill");
        row("junk", "Junk", "sparkles");
        row("developer", "Developer", "hammer.fill");
        row("duplicates", "Duplicates", "doc.on.doc.fill");
        row("history", "History", "clock.arrow.circlepath");
        QCOMPARE(static_cast<std::size_t>(position), allAppSections.size());
    }

    void sectionsKeepTheirRawValuesTitlesAndSymbols() {
        QFETCH(QString, raw);
        QFETCH(QString, title);
        QFETCH(QString, symbol);
        QFETCH(int, position);
        const auto section = appSectionFromRaw(raw.toStdString());
        QVERIFY(section.has_value());
        QCOMPARE(QString::fromUtf8(rawValue(*section)), raw);
        QCOMPARE(dorvale::title(*section), title);
        QCOMPARE(QString::fromUtf8(symbolName(*section)), symbol);
        // The list of all sections is in sidebar order, the order of the rows.
        QCOMPARE(allAppSections.at(static_cast<std::size_t>(position)), *section);
    }

    void onlyExactRawValuesNameASection() {
        for (const char* text : {"Overview", "overview ", "Quick Clean", "", "smartclean"}) {
            QVERIFY2(!appSectionFromRaw(text).has_value(), text);
        }
    }

    void scanTargetsGiveTheirRootsAndTitles() {
        const Locations locations = Locations::inside("/fixture");
        QCOMPARE(ScanTarget::wholeDisk().rootPath(locations), std::string("/fixture"));
        QCOMPARE(ScanTarget::home().rootPath(locations), std::string("/fixture/Users/a"));
        QCOMPARE(ScanTarget::wholeDisk().rootPath(Locations::inside("/")), std::string("/"));
        QCOMPARE(ScanTarget::folder("/data/Movies").rootPath(locations),
                 std::string("/data/Movies"));
        QCOMPARE(ScanTarget::wholeDisk().title(), QString("Entire disk"));
        QCOMPARE(ScanTarget::home().title(), QString("Home folder"));
        QCOMPARE(ScanTarget::folder("/data/Movies").title(), QString("Movies"));
        QCOMPARE(ScanTarget::folder("/").title(), QString("/"));
        QCOMPARE(ScanTarget::folder("/data/Caf\xc3\xa9").title(), QString::fromUtf8("Café"));
    }

    void aFolderMadeFromTextLosesItsTrailingSlash() {
        QCOMPARE(ScanTarget::folder("/data/Movies/").folderPath(), std::string("/data/Movies"));
        QCOMPARE(ScanTarget::folder("/data/Movies//").title(), QString("Movies"));
        QCOMPARE(ScanTarget::folder("/").folderPath(), std::string("/"));
        QCOMPARE(ScanTarget::folder("/data/Movies/"), ScanTarget::folder("/data/Movies"));
    }

    void scanTargetsCompareAndHashByKindAndFolder() {
        const std::hash<ScanTarget> hash;
        QCOMPARE(ScanTarget(), ScanTarget::wholeDisk());
        QVERIFY(ScanTarget::wholeDisk() != ScanTarget::home());
        QVERIFY(ScanTarget::folder("/a") != ScanTarget::folder("/b"));
        QVERIFY(ScanTarget::home() != ScanTarget::folder("/a"));
        QCOMPARE(hash(ScanTarget::folder("/a/")), hash(ScanTarget::folder("/a")));
        QVERIFY(hash(ScanTarget::wholeDisk()) != hash(ScanTarget::home()));
        QVERIFY(!ScanTarget::folder("/").needsFullDiskAccess());
        QVERIFY(ScanTarget::home().needsFullDiskAccess());
        QVERIFY(ScanTarget::wholeDisk().needsFullDiskAccess());
    }

    void planItemsAreTheSameItemWhenTheirPathsAre() {
        const PlanItem small{{"/a/b", "b", 10, Removal::Trash}, {Risk::Safe, "ok"}};
        const PlanItem large{{"/a/b", "other", 99, Removal::Permanent}, {Risk::Review, "?"}};
        const PlanItem elsewhere{{"/a/bc", "b", 10, Removal::Trash}, {Risk::Safe, "ok"}};
        QVERIFY(small == large);
        QCOMPARE(std::hash<PlanItem>{}(small), std::hash<PlanItem>{}(large));
        QVERIFY(small != elsewhere);
    }

    void toastsAreEqualOnlyInAllFourFields() {
        const HistoryEntry entry{Uuid::random(), 1, "/a", std::string("/t/a"), 5, false};
        const Toast toast{Uuid::random(), "1 KB freed", std::nullopt, {entry}};
        QCOMPARE(toast, toast);
        Toast other = toast;
        other.undoable.clear();
        QVERIFY(toast != other);
        other = toast;
        other.undoable[0].restored = true;
        QVERIFY(toast != other);
        other = toast;
        other.detail = QString();
        QVERIFY(toast != other);
        other = toast;
        other.id = Uuid::random();
        QVERIFY(toast != other);
        QVERIFY(Toast{}.id != Toast{}.id);
    }

    void schedulesReadOnlyTheirExactRawValues() {
        QCOMPARE(cleanScheduleFromRaw("off"), std::optional(CleanSchedule::Off));
        QCOMPARE(cleanScheduleFromRaw("daily"), std::optional(CleanSchedule::Daily));
        QCOMPARE(cleanScheduleFromRaw("weekly"), std::optional(CleanSchedule::Weekly));
        QCOMPARE(cleanScheduleFromRaw("monthly"), std::optional(CleanSchedule::Monthly));
        QVERIFY(!cleanScheduleFromRaw("Daily").has_value());
        QVERIFY(!cleanScheduleFromRaw("").has_value());
        QCOMPARE(title(CleanSchedule::Weekly), QString("Every week"));
        QVERIFY(!periodSeconds(CleanSchedule::Off).has_value());
        QCOMPARE(periodSeconds(CleanSchedule::Daily), std::optional<std::int64_t>(86'400));
        QCOMPARE(periodSeconds(CleanSchedule::Weekly), std::optional<std::int64_t>(604'800));
        QCOMPARE(periodSeconds(CleanSchedule::Monthly), std::optional<std::int64_t>(2'592'000));
    }
};

} // namespace

DORVALE_QT_TEST(AppRecordsTest)

} // namespace dorvale

#include "AppRecordsTest.moc"
