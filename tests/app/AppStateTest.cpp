#include "app/AppState.hpp"

#include "app/RunInBackground.hpp"
#include "app/SettingsKeys.hpp"
#include "model/JunkRule.hpp"
#include "support/TreeBuilder.hpp"
#include "support/app/AppFixture.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/SignalRecorder.hpp"
#include "support/qt/QtTests.hpp"

#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dorvale {
namespace {

using test::AppFixture;
using test::SignalRecorder;

// The target as the start-up table writes it.
QString describe(const ScanTarget& target) {
    switch (target.kind()) {
    case ScanTarget::Kind::WholeDisk:
        return "disk";
    case ScanTarget::Kind::Home:
        return "home";
    case ScanTarget::Kind::Folder:
        break;
    }
    return "folder " + QString::fromStdString(target.folderPath());
}

class AppStateTest final : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheInitialValueOfEveryMember() {
        AppFixture fixture;
        fixture.fullDiskAccess = false;
        AppState state(fixture.services());

        QCOMPARE(state.section(), AppSection::SmartClean);
        QCOMPARE(state.scanTarget(), ScanTarget::wholeDisk());
        QVERIFY(!state.isScanning());
        QCOMPARE(state.progress().files, std::int64_t{0});
        QCOMPARE(state.progress().bytes, std::int64_t{0});
        QCOMPARE(state.progress().currentPath, std::string());
        QVERIFY(state.scan() == nullptr);
        QVERIFY(!state.scannedTarget().has_value());
        QCOMPARE(state.revision(), std::int64_t{0});
        QCOMPARE(state.volume(), fixture.volume);
        QVERIFY(state.explorerStack().empty());
        QCOMPARE(state.largeFilter(), FileFilter{});
        QVERIFY(!state.largeFilter().hideProtected);
        QVERIFY(state.apps().empty() && !state.appsLoading());
        QVERIFY(state.leftovers().empty() && !state.leftoversLoading());
        QVERIFY(state.junk().empty() && !state.junkLoading());
        QCOMPARE(state.smartPhase(), SmartPhase::Idle);
        std::set<std::string> smartRules;
        for (const JunkRule& rule : JunkRule::all()) {
            if (rule.inSmartClean) {
                smartRules.insert(rule.id);
            }
        }
        QVERIFY(!smartRules.empty());
        QCOMPARE(state.smartSelection(), smartRules);
        QVERIFY(!state.lastReport().has_value());
        QVERIFY(state.duplicates().empty());
        QVERIFY(!state.duplicatesProgress().has_value());
        QVERIFY(!state.plan().has_value());
        QVERIFY(!state.toast().has_value());
        QVERIFY(!state.hasFullDiskAccess());
        QCOMPARE(state.excludedRaw(), std::string());
        QVERIFY(!state.permanentDelete());
        QVERIFY(state.history().entries().empty());
        QCOMPARE(state.history().fileLocation(),
                 DeletionHistory::defaultLocation(fixture.locations));
        QCOMPARE(state.background().parent(), &state);
        QVERIFY(!state.showAccessOnboarding());
        QVERIFY(!state.accessOnboardingSkipped());
        QVERIFY(state.failures().empty());
        // Start-up reads the settings but writes none.
        QCOMPARE(fixture.settings.changeCount(), 0);
    }

    void startUpFollowsInitialSectionAndAutoScan_data() {
        QTest::addColumn<QString>("initialSection");
        QTest::addColumn<QString>("autoScan");
        QTest::addColumn<bool>("access");
        QTest::addColumn<bool>("skipped");
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("scanning");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("onboarding");
        // "-" leaves a setting out.
        QTest::newRow("nothing set")
            << "-"
            << "-" << true << false << "smartClean" << false << "disk" << false;
        QTest::newRow("a section")
            << "overview"
            << "-" << true << false << "overview" << false << "disk" << false;
        QTest::newRow("a title is no section")
            << "Overview"
            << "-" << true << false << "smartClean" << false << "disk" << false;
        QTest::newRow("unknown section")
            << "settings"
            << "-" << true << false << "smartClean" << false << "disk" << false;
        QTest::newRow("home with access")
            << "history"
            << "home" << true << false << "history" << true << "home" << false;
        QTest::newRow("home in other case")
            << "-"
            << "Home" << true << false << "smartClean" << false << "disk" << false;
        QTest::newRow("disk with access")
            << "-"
            << "disk" << true << false << "smartClean" << true << "disk" << false;
        QTest::newRow("disk without access")
            << "junk"
            << "disk" << false << false << "junk" << false << "disk" << true;
        QTest::newRow("home without access")
            << "-"
            << "home" << false << false << "smartClean" << false << "home" << true;
        QTest::newRow("disk, onboarding skipped")
            << "-"
            << "disk" << false << true << "smartClean" << true << "disk" << false;
        QTest::newRow("folder without access") << "-"
                                               << "/srv/media/" << false << false << "smartClean"
                                               << true << "folder /srv/media" << false;
        QTest::newRow("tilde path")
            << "-"
            << "~/Movies" << true << false << "smartClean" << false << "disk" << false;
        QTest::newRow("empty text")
            << "-"
            << "" << true << false << "smartClean" << false << "disk" << false;
    }

    void startUpFollowsInitialSectionAndAutoScan() {
        QFETCH(QString, initialSection);
        QFETCH(QString, autoScan);
        QFETCH(bool, access);
        QFETCH(bool, skipped);
        AppFixture fixture;
        if (initialSection != "-") {
            fixture.settings.setText(SettingsKeys::initialSection, initialSection.toStdString());
        }
        if (autoScan != "-") {
            fixture.settings.setText(SettingsKeys::autoScan, autoScan.toStdString());
        }
        fixture.settings.setBool(SettingsKeys::accessOnboardingSkipped, skipped);
        fixture.fullDiskAccess = access;
        AppServices services = fixture.services();
        services.scan = fixture.scans.seam();
        AppState state(services);

        QTEST(QString::fromUtf8(rawValue(state.section())), "section");
        QTEST(state.isScanning(), "scanning");
        QTEST(describe(state.scanTarget()), "target");
        QTEST(state.showAccessOnboarding(), "onboarding");
        if (state.isScanning()) {
            QTRY_COMPARE(fixture.scans.calls().size(), std::size_t{1});
            QCOMPARE(fixture.scans.calls()[0].rootPath,
                     state.scanTarget().rootPath(fixture.locations));
        } else {
            // No job was started: none holds the pool.
            QVERIFY(workerPool().waitForDone(10'000));
            QVERIFY(fixture.scans.calls().empty());
        }
    }

    void everySetterEmitsItsOwnSignalOnEveryCall() {
        AppFixture fixture;
        AppState state(fixture.services());
        test::TreeBuilder builder("/data");
        builder.file(builder.root(), "movie.mov", 4096);
        auto tree = std::make_shared<ScanResult>(builder.finish());
        const FileNode* root = tree->root;

        const std::vector<std::pair<QByteArray, std::function<void()>>> setters = {
            {"sectionChanged",
             [&] {
                 state.setSection(AppSection::SmartClean);
             }},
            {"scanTargetChanged",
             [&] {
                 test::AppStateAccess(state).setScanTarget(ScanTarget::wholeDisk());
             }},
            {"isScanningChanged",
             [&] {
                 test::AppStateAccess(state).setScanning(false);
             }},
            {"progressChanged",
             [&] {
                 test::AppStateAccess(state).setProgress({});
             }},
            {"revisionChanged",
             [&] {
                 test::AppStateAccess(state).setRevision(0);
             }},
            {"volumeChanged",
             [&] {
                 test::AppStateAccess(state).setVolume(fixture.volume);
             }},
            {"explorerStackChanged",
             [&] {
                 state.setExplorerStack({});
             }},
            {"largeFilterChanged",
             [&] {
                 state.setLargeFilter({});
             }},
            {"appsChanged",
             [&] {
                 test::AppStateAccess(state).setApps({});
             }},
            {"leftoversChanged",
             [&] {
                 test::AppStateAccess(state).setLeftovers({});
             }},
            {"junkChanged",
             [&] {
                 test::AppStateAccess(state).setJunk({});
             }},
            {"smartPhaseChanged",
             [&] {
                 test::AppStateAccess(state).setSmartPhase(SmartPhase::Idle);
             }},
            {"smartSelectionChanged",
             [&] {
                 state.setSmartSelection(state.smartSelection());
             }},
            {"lastReportChanged",
             [&] {
                 test::AppStateAccess(state).setLastReport(std::nullopt);
             }},
            {"duplicatesChanged",
             [&] {
                 test::AppStateAccess(state).setDuplicates({});
             }},
            {"duplicatesProgressChanged",
             [&] {
                 test::AppStateAccess(state).setDuplicatesProgress(std::nullopt);
             }},
            {"planChanged",
             [&] {
                 state.setPlan(std::nullopt);
             }},
            {"toastChanged",
             [&] {
                 state.setToast(std::nullopt);
             }},
            {"hasFullDiskAccessChanged",
             [&] {
                 test::AppStateAccess(state).setHasFullDiskAccess(true);
             }},
            {"showAccessOnboardingChanged",
             [&] {
                 state.setShowAccessOnboarding(false);
             }},
            {"failuresChanged",
             [&] {
                 test::AppStateAccess(state).setFailures({});
             }},
            {"excludedRawChanged",
             [&] {
                 test::AppStateAccess(state).setExcludedRaw("");
             }},
            {"permanentDeleteChanged",
             [&] {
                 state.setPermanentDelete(false);
             }},
            {"accessOnboardingSkippedChanged",
             [&] {
                 state.setAccessOnboardingSkipped(false);
             }},
        };
        for (const auto& [signal, set] : setters) {
            for (int time = 0; time < 2; ++time) {
                const SignalRecorder recorder(state);
                set();
                QVERIFY2(recorder.emitted() == QList<QByteArray>{signal}, signal.constData());
            }
        }

        const SignalRecorder recorder(state);
        test::AppStateAccess(state).setScan(tree, ScanTarget::folder("/data"));
        QCOMPARE(recorder.emitted(), (QList<QByteArray>{"scanChanged", "explorerStackChanged",
                                                        "duplicatesChanged", "revisionChanged"}));
        QCOMPARE(state.explorerStack(), std::vector<const FileNode*>{root});
    }

    void settingsBackedMembersReadTheStoreAtEachUse() {
        AppFixture fixture;
        AppState state(fixture.services());
        QSignalSpy permanent(&state, &AppState::permanentDeleteChanged);
        bool seenInSlot = false;
        connect(&state, &AppState::permanentDeleteChanged, this,
                [&] { seenInSlot = state.permanentDelete(); });

        state.setPermanentDelete(true);
        QCOMPARE(fixture.settings.boolValue(SettingsKeys::permanentDelete), std::optional(true));
        QVERIFY(seenInSlot);
        // Another writer of the same store is announced as well.
        state.settingsStore().setBool(SettingsKeys::permanentDelete, false);
        QCOMPARE(permanent.count(), 2);
        QVERIFY(!state.permanentDelete());

        // A write that bypasses the store is still read, and a wrong type reads as default.
        fixture.settings.setText(SettingsKeys::excludedPaths, "/a\n/b");
        QCOMPARE(state.excludedRaw(), std::string("/a\n/b"));
        fixture.settings.setInteger(SettingsKeys::excludedPaths, 3);
        QCOMPARE(state.excludedRaw(), std::string());
        fixture.settings.setText(SettingsKeys::accessOnboardingSkipped, "true");
        QVERIFY(!state.accessOnboardingSkipped());
        fixture.settings.setBool(SettingsKeys::accessOnboardingSkipped, true);
        QVERIFY(state.accessOnboardingSkipped());
    }

    void excludedPathsAreTheNonEmptyLines_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one") << "/a" << QStringList{"/a"};
        QTest::newRow("blank lines and a final line feed") << "\n/a\n\n/b\n"
                                                           << QStringList{"/a", "/b"};
        QTest::newRow("spaces kept") << "/a \n /b" << QStringList{"/a ", " /b"};
        QTest::newRow("duplicates kept in order") << "/b\n/a\n/b" << QStringList{"/b", "/a", "/b"};
        QTest::newRow("only line feeds") << "\n\n\n" << QStringList{};
        QTest::newRow("carriage return kept") << "/a\r\n/b" << QStringList{"/a\r", "/b"};
    }

    void excludedPathsAreTheNonEmptyLines() {
        QFETCH(QString, raw);
        QFETCH(QStringList, paths);
        AppFixture fixture;
        AppState state(fixture.services());
        test::AppStateAccess(state).setExcludedRaw(raw.toStdString());
        QStringList read;
        for (const std::string& path : state.excludedPaths()) {
            read << QString::fromStdString(path);
        }
        QCOMPARE(read, paths);
    }

    void excludedPathsAreStoredOnePerLine() {
        AppFixture fixture;
        AppState state(fixture.services());
        QSignalSpy changed(&state, &AppState::excludedRawChanged);
        QVERIFY(state.setExcludedPaths({"/a b", "/c"}));
        QCOMPARE(state.excludedRaw(), std::string("/a b\n/c"));
        QCOMPARE(changed.count(), 1);
        // A path holding a line feed would come back as two paths: nothing is written.
        QVERIFY(!state.setExcludedPaths({"/d", "/e\nf"}));
        QCOMPARE(state.excludedRaw(), std::string("/a b\n/c"));
        QCOMPARE(changed.count(), 1);
    }

    void theHistoryIsLoadedAtStartAndAnnouncesItsChanges() {
        AppFixture fixture;
        const HistoryEntry earlier{Uuid::random(), 10, "/a", std::nullopt, 5, false};
        DeletionHistory(DeletionHistory::defaultLocation(fixture.locations)).record({earlier});
        AppState state(fixture.services());
        QCOMPARE(state.history().entries(), std::vector<HistoryEntry>{earlier});

        QSignalSpy changed(&state, &AppState::historyChanged);
        state.clearHistory();
        QCOMPARE(changed.count(), 1);
        QVERIFY(state.history().entries().empty());
    }
};

} // namespace

DORVALE_QT_TEST(AppStateTest)

} // namespace dorvale

#include "AppStateTest.moc"
