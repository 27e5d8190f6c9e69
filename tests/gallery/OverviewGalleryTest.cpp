#include "app/SettingsKeys.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ChosenJunk.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QRegularExpression>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;
using test::TreeBuilder;

const std::string longName = "Holiday recordings from the summer in the mountains, edited, "
                             "graded and exported again for the family";

// A home folder with large folders of long names in every bucket, deep enough for the
// largest-folders card to list several, and old large files for a recommendation.
std::shared_ptr<ScanResult> homeScan(const ShellFixture& f) {
    TreeBuilder builder(f.fixture.locations.home);
    FileNode* movies = builder.folder(builder.root(), "Movies", {.bucket = StorageBucket::Video});
    FileNode* deep = builder.folder(movies, longName, {.bucket = StorageBucket::Video});
    builder.file(deep, longName + ".mov", 42'000'000'000,
                 {.modified = 1'500'000'000, .bucket = StorageBucket::Video});
    FileNode* code = builder.folder(builder.root(), "code", {.bucket = StorageBucket::Developer});
    for (int i = 0; i < 6; ++i) {
        FileNode* project =
            builder.folder(code, "project with a rather long name " + std::to_string(i));
        FileNode* modules = builder.folder(project, "node_modules");
        builder.file(modules, "bundle.js", 900'000'000 + std::int64_t{i} * 300'000'000,
                     {.bucket = StorageBucket::Developer});
    }
    FileNode* pictures = builder.folder(builder.root(), "Pictures");
    builder.file(pictures, "scan.tiff", 3'000'000'000);
    FileNode* downloads = builder.folder(builder.root(), "Downloads");
    builder.file(downloads, "installer.dmg", 2'500'000'000);
    return std::make_shared<ScanResult>(builder.finish());
}

} // namespace

// The overview in the main window at the window's least and a large size: the prompt before a
// scan, a scan with long names and junk found, and the same without a volume or access.
class OverviewGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void states_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void states() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "overview");
        f.makeState();
        RootView* root = f.show(new RootView(*f.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.window.get());
        picture(*root, "overview-prompt-" + tag);

        test::AppStateAccess access(*f.state);
        access.setJunk(
            {test::ChosenJunk::finding(f.fixture.locations, "user-caches", 40, 90'000'000),
             test::ChosenJunk::finding(f.fixture.locations, "trash", 3, 700'000'000)});
        access.setScan(homeScan(f), ScanTarget::home());
        test::finishAnimations(*root);
        picture(*root, "overview-" + tag);

        access.setVolume(std::nullopt);
        access.setHasFullDiskAccess(false);
        access.setJunk({});
        // Rows added to a shown layout show once the event loop comes round.
        QCoreApplication::processEvents();
        test::finishAnimations(*root);
        picture(*root, "overview-no-volume-" + tag);
    }

private:
    static void picture(QWidget& widget, const QString& name) {
        test::savePictureWithNothingCut(widget, name);
    }
};

DORVALE_QT_TEST(OverviewGalleryTest)

} // namespace dorvale

#include "OverviewGalleryTest.moc"
