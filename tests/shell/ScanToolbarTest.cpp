#include "shell/ScanToolbar.hpp"

#include "platform/ByteFormatter.hpp"
#include "shell/DiskFooter.hpp"
#include "style/Theme.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/UsageBar.hpp"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

struct Toolbar {
    explicit Toolbar(ShellFixture& f)
        : state(f.makeState())
        , toolbar(f.show(new ScanToolbar(state))) {}

    [[nodiscard]] QToolButton* scanButton() const {
        return toolbar->findChild<QToolButton*>(QStringLiteral("scanButton"));
    }
    [[nodiscard]] QPushButton* stopButton() const {
        return toolbar->findChild<QPushButton*>(QStringLiteral("stopButton"));
    }
    [[nodiscard]] QString progressLine() const {
        return toolbar->findChild<ElidedLabel*>(QStringLiteral("progressLine"))->text();
    }
    void trigger(const char* action) const {
        toolbar->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }

    AppState& state;
    ScanToolbar* toolbar;
};

} // namespace

class ScanToolbarTest : public QObject {
    Q_OBJECT

private slots:
    void theButtonReadsScanUntilAResultExists() {
        ShellFixture f;
        Toolbar t(f);
        QVERIFY(t.scanButton()->isVisible());
        QCOMPARE(t.scanButton()->text(), QStringLiteral("Scan"));
        QCOMPARE(t.scanButton()->toolTip(), QStringLiteral("Scan: Entire disk"));
        QCOMPARE(t.scanButton()->property("symbol").toString(), QStringLiteral("arrow.clockwise"));
        test::AppStateAccess(t.state).setScan(f.homeScan(), ScanTarget::home());
        QCOMPARE(t.scanButton()->text(), QStringLiteral("Rescan"));
    }

    // A click on the button itself scans the current target again; the menu picks others.
    void theButtonAndTheMenuStartScans() {
        ShellFixture f;
        Toolbar t(f);
        t.trigger("homeFolderAction");
        QCOMPARE(t.state.scanTarget(), ScanTarget::home());
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{1});
        QCOMPARE(t.scanButton()->toolTip(), QStringLiteral("Scan: Home folder"));
        t.state.cancelScan();

        QTest::mouseClick(t.scanButton(), Qt::LeftButton, {}, QPoint(8, 8));
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{2});
        QCOMPARE(f.fixture.scans.calls()[1].rootPath, f.fixture.locations.home);
        t.state.cancelScan();

        t.trigger("entireDiskAction");
        QCOMPARE(t.state.scanTarget(), ScanTarget::wholeDisk());
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{3});
        QCOMPARE(f.fixture.scans.calls()[2].rootPath, f.fixture.locations.dataVolume);
    }

    // Without access, a scan of the disk from the button raises the onboarding instead.
    void theButtonWithoutAccessRaisesTheOnboarding() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        Toolbar t(f);
        QTest::mouseClick(t.scanButton(), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(t.state.showAccessOnboarding());
        QVERIFY(!t.state.isScanning());
        QVERIFY(t.scanButton()->isVisible());
    }

    void aChosenFolderIsScannedAndNamedInTheTooltip() {
        ShellFixture f;
        const std::string photos = f.fixture.tree.folder("Users/a/Photos");
        f.fixture.fileDialogs.queueFolder(photos);
        Toolbar t(f);
        t.trigger("chooseFolderAction");
        QCOMPARE(f.fixture.fileDialogs.folderTitles(),
                 std::vector<std::string>{"Choose a folder to scan"});
        QCOMPARE(f.fixture.fileDialogs.folderLabels(), std::vector<std::string>{"Scan"});
        QCOMPARE(t.state.scanTarget(), ScanTarget::folder(photos));
        QTRY_COMPARE(f.fixture.scans.calls().size(), std::size_t{1});
        QCOMPARE(f.fixture.scans.calls()[0].rootPath, photos);
        t.state.cancelScan();
        QCOMPARE(t.scanButton()->toolTip(), QStringLiteral("Scan: Photos"));
    }

    // The menu opens from the keyboard as a drop-down list does; its items are walked with
    // the arrows and taken with Return.
    void theMenuOpensFromTheKeyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers();
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("F4") << int(Qt::Key_F4) << Qt::KeyboardModifiers();
    }

    void theMenuOpensFromTheKeyboard() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        ShellFixture f;
        const std::string photos = f.fixture.tree.folder("Users/a/Photos");
        f.fixture.fileDialogs.queueFolder(photos);
        Toolbar t(f);
        QVERIFY(t.scanButton()->focusPolicy() & Qt::TabFocus);
        auto* chooseFolder = t.toolbar->findChild<QAction*>(QStringLiteral("chooseFolderAction"));
        bool opened = false;
        QTimer::singleShot(0, t.toolbar, [&] {
            QMenu* menu = t.scanButton()->menu();
            opened = QApplication::activePopupWidget() == menu;
            for (int step = 0; step < 4 && menu->activeAction() != chooseFolder; ++step) {
                QTest::keyClick(menu, Qt::Key_Down);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::keyClick(t.scanButton(), Qt::Key(key), modifiers);
        QVERIFY(opened);
        QCOMPARE(t.state.scanTarget(), ScanTarget::folder(photos));
        t.state.cancelScan();
    }

    void aCancelledPickerChangesNothing() {
        ShellFixture f;
        f.fixture.fileDialogs.queueFolder(std::nullopt);
        Toolbar t(f);
        QSignalSpy targetChanged(&t.state, &AppState::scanTargetChanged);
        t.trigger("chooseFolderAction");
        QCOMPARE(f.fixture.fileDialogs.folderLabels().size(), std::size_t{1});
        QCOMPARE(targetChanged.count(), 0);
        QVERIFY(!t.state.isScanning());
        QCOMPARE(t.scanButton()->toolTip(), QStringLiteral("Scan: Entire disk"));
    }

    void aFolderWithALineFeedIsRefusedWithAMessage() {
        ShellFixture f;
        const std::string odd = f.fixture.tree.folder("Users/a/two\nlines");
        f.fixture.fileDialogs.queueFolder(odd);
        Toolbar t(f);
        QSignalSpy targetChanged(&t.state, &AppState::scanTargetChanged);
        t.trigger("chooseFolderAction");
        QCOMPARE(targetChanged.count(), 0);
        QVERIFY(!t.state.isScanning());
        auto* message = f.window->findChild<QMessageBox*>(QStringLiteral("folderRefusedMessage"));
        QVERIFY(message != nullptr);
        QTRY_VERIFY(message->isVisible());
        QCOMPARE(message->text(), QStringLiteral("This folder can’t be scanned"));
        QCOMPARE(message->windowModality(), Qt::WindowModal);
        message->close();
    }

    void whileScanningItShowsProgressAndStop() {
        ShellFixture f;
        const std::string folder = f.fixture.tree.folder("Users/a/Projects");
        Toolbar t(f);
        t.state.startScan(ScanTarget::folder(folder));
        QVERIFY(t.stopButton()->isVisible());
        QVERIFY(!t.scanButton()->isVisible());
        QCOMPARE(t.progressLine(), QStringLiteral("0 files · Zero KB"));

        // A path far longer than the toolbar's room is cut in the middle within 260 pixels.
        const std::string deep = "/Users/a/Projects/" + std::string(40, 'd') + "/node_modules/" +
                                 std::string(60, 'p') +
                                 "/dist/very/deep/folder/with/a/long/name/index.js";
        f.fixture.scans.releaseWithResult(folder, std::nullopt, {{1'441'792, 5'000'000, deep}});
        QTRY_COMPARE(t.progressLine(), QStringLiteral("1,441,792 files · 5 MB"));
        auto* path = t.toolbar->findChild<ElidedLabel*>(QStringLiteral("progressPath"));
        QCOMPARE(path->text().left(2), QStringLiteral("~/"));
        QVERIFY(path->width() <= 260);
        QVERIFY(path->isElided());
        QVERIFY(path->visibleLines().constFirst().contains(QStringLiteral("…")));
        QVERIFY(path->visibleLines().constFirst().endsWith(QStringLiteral("index.js")));

        QTest::mouseClick(t.stopButton(), Qt::LeftButton);
        QVERIFY(!t.state.isScanning());
        QVERIFY(t.scanButton()->isVisible());
    }

    void theFooterTintsLowSpaceRed_data() {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("available");
        QTest::addColumn<QColor>("tint");
        QTest::addColumn<double>("used");
        QTest::newRow("9 % free") << qint64{100'000'000'000} << qint64{9'000'000'000}
                                  << Theme::danger() << 0.91;
        QTest::newRow("10 % free")
            << qint64{100'000'000'000} << qint64{10'000'000'000} << Theme::accent() << 0.9;
        QTest::newRow("half free")
            << qint64{500'000'000'000} << qint64{250'000'000'000} << Theme::accent() << 0.5;
        QTest::newRow("empty volume") << qint64{0} << qint64{0} << Theme::danger() << 0.0;
    }

    void theFooterTintsLowSpaceRed() {
        QFETCH(qint64, total);
        QFETCH(qint64, available);
        QFETCH(QColor, tint);
        QFETCH(double, used);
        ShellFixture f;
        AppState& state = f.makeState();
        auto* footer = f.show(new DiskFooter(state), {230, 60});
        test::AppStateAccess(state).setVolume(VolumeInfo{"Data", total, available, available});
        auto* bar = footer->findChild<UsageBar*>(QStringLiteral("volumeBar"));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->tint(), tint);
        QCOMPARE(bar->fraction(), used);
        QCOMPARE(footer->findChild<ElidedLabel*>(QStringLiteral("volumeName"))->text(),
                 QStringLiteral("Data"));
        QCOMPARE(footer->findChild<ElidedLabel*>(QStringLiteral("volumeFree"))->text(),
                 QString::fromStdString(byteFormatter().string(available)) + " free");
    }

    void theFooterIsEmptyWithoutAVolume() {
        ShellFixture f;
        f.fixture.volume = std::nullopt;
        AppState& state = f.makeState();
        auto* footer = f.show(new DiskFooter(state), {230, 60});
        QVERIFY(!footer->findChild<UsageBar*>(QStringLiteral("volumeBar"))->isVisible());
        test::AppStateAccess(state).setVolume(VolumeInfo{"Data", 100, 50, 50});
        QVERIFY(footer->findChild<UsageBar*>(QStringLiteral("volumeBar"))->isVisible());
    }
};

DORVALE_QT_TEST(ScanToolbarTest)

} // namespace dorvale

#include "ScanToolbarTest.moc"
