#include "app/SettingsKeys.hpp"
#include "gallery/Gallery.hpp"
#include "shell/MainWindow.hpp"
#include "shell/RootView.hpp"
#include "shell/SectionPages.hpp"
#include "shell/StateSheet.hpp"
#include "shell/ToastView.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SelectionBar.hpp"

#include <QDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;

const std::string longPath =
    "/Users/a/Library/Developer/Xcode/DerivedData/AnExtremelyLongProjectName-"
    "abcdefghijklmnopqrstuvwxyz/Build/Intermediates.noindex/ArchiveIntermediates/Target/"
    "IntermediateBuildFilesPath/UninstalledProducts/iphoneos/Framework.framework/Headers/"
    "SomeGeneratedHeaderWithAVeryLongName.h";

// The page of a list with a selection, standing in for the cleanup screens.
QWidget* selectionPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* bar = new SelectionBar(QStringLiteral(
        "Move 1,234,567 selected files and folders from every scanned volume to the Trash"));
    layout->addWidget(bar);
    bar->setSelection(1'234'567, 9'876'543'210'000);
    return page;
}

} // namespace

// Renders the main window in its main states at its minimum and a large size. Offscreen
// rendering may warn only that it cannot hand size limits to the window system. With
// DORVALE_GALLERY_DIR set, the pictures are written there to be looked at.
class MainWindowGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void states_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        // A 1280 × 720 screen at 150 %, less the menus: the minimum shrinks to this.
        QTest::newRow("scaled-screen") << QSize(850, 420);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void states() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        noScan(size, tag);
        scanning(size, tag);
        finished(size, tag);
        accessMissing(size, tag);
        toast(size, tag);
        selection(size, tag);
    }

    // The whole window at its least size on the screen it is shown on: run with a small or
    // scaled screen (an offscreen configuration file, QT_SCALE_FACTOR) to see it fit.
    void windowAtItsLeast() {
        ShellFixture f;
        f.makeState();
        test::AppStateAccess(*f.state).setScan(f.homeScan(), ScanTarget::home());
        MainWindow window(*f.state);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(window.minimumSizeHint());
        const QRect room = window.screen()->availableGeometry();
        QVERIFY(window.frameGeometry().width() <= room.width());
        QVERIFY(window.frameGeometry().height() <= room.height());
        picture(window, QStringLiteral("window-least-%1x%2").arg(room.width()).arg(room.height()));
    }

private:
    static void noScan(const QSize& size, const QString& tag) {
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "overview");
        RootView* root = show(f, size);
        picture(*root, "no-scan-" + tag);
    }

    static void scanning(const QSize& size, const QString& tag) {
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "types");
        RootView* root = show(f, size);
        f.state->startScan(ScanTarget::folder(f.fixture.tree.folder("Users/a")));
        test::AppStateAccess(*f.state).setProgress({1'234'567, 987'654'321'000, longPath});
        QTRY_VERIFY(root->findChild<ElidedLabel*>(QStringLiteral("progressLine"))
                        ->text()
                        .startsWith(QStringLiteral("1,234,567 files")));
        picture(*root, "scanning-" + tag);
        f.state->cancelScan();
    }

    static void finished(const QSize& size, const QString& tag) {
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "explorer");
        RootView* root = show(f, size);
        test::AppStateAccess(*f.state).setScan(f.homeScan(), ScanTarget::home());
        picture(*root, "finished-" + tag);
    }

    static void accessMissing(const QSize& size, const QString& tag) {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        f.fixture.settings.setText(SettingsKeys::initialSection, "duplicates");
        f.fixture.settings.setText(SettingsKeys::autoScan, "disk");
        RootView* root = show(f, size);
        picture(*root, "access-missing-" + tag);
        QDialog* sheet = root->onboardingSheet()->dialog();
        QVERIFY(sheet != nullptr);
        QTRY_VERIFY(sheet->isVisible());
        picture(*sheet, "onboarding-sheet-" + tag);
    }

    static void toast(const QSize& size, const QString& tag) {
        ShellFixture f;
        RootView* root = show(f, size);
        HistoryEntry entry{.originalPath = "/Users/a/Movies/clip.mov", .trashPath = "/t/clip.mov"};
        f.state->setToast(Toast{.message = QStringLiteral("Moved 12 items to the Trash"),
                                .detail = QStringLiteral("4.2 GB freed · Macintosh HD"),
                                .undoable = {entry}});
        test::finishAnimations(*root);
        picture(*root, "toast-" + tag);
    }

    static void selection(const QSize& size, const QString& tag) {
        ShellFixture f;
        f.makeState();
        auto* root = new RootView(*f.state, [](AppSection section, AppState& state) {
            return section == AppSection::Junk ? selectionPage() : makeSectionPage(section, state);
        });
        f.show(root, size);
        f.state->setSection(AppSection::Junk);
        QTRY_VERIFY(root->findChild<SelectionBar*>()->isVisible());
        picture(*root, "selection-" + tag);
    }

    // Every state is drawn with nothing cut, at the least size too.
    static void picture(QWidget& widget, const QString& name) {
        test::savePictureWithNothingCut(widget, name);
    }

    static RootView* show(ShellFixture& f, const QSize& size) {
        f.makeState();
        RootView* root = f.show(new RootView(*f.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.window.get());
        return root;
    }
};

DORVALE_QT_TEST(MainWindowGalleryTest)

} // namespace dorvale

#include "MainWindowGalleryTest.moc"
