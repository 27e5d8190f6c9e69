#include "app/SettingsKeys.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::ShellFixture;
using test::TreeBuilder;

const std::string longName = "Holiday recordings from the summer in the mountains, edited, "
                             "graded and exported again for the family";

// Files of every kind, some with long names deep down, some old, some unknown dates.
std::shared_ptr<ScanResult> homeScan(const ShellFixture& f) {
    TreeBuilder builder(f.fixture.locations.home);
    FileNode* movies = builder.folder(builder.root(), "Movies");
    FileNode* deep = builder.folder(movies, longName);
    builder.file(deep, longName + ".mov", 42'000'000'000, {.modified = 1'650'000'000});
    builder.file(movies, "Raw footage.mp4", 18'000'000'000, {.modified = 1'690'000'000});
    FileNode* downloads = builder.folder(builder.root(), "Downloads");
    builder.file(downloads, "installer.dmg", 2'500'000'000, {.modified = 1'600'000'000});
    builder.file(downloads, "backup.tar.gz", 7'000'000'000, {.modified = 1'500'000'000});
    builder.file(downloads, "Makefile", 900'000, {.modified = 0});
    for (int i = 0; i < 40; ++i) {
        builder.file(builder.root(), "Document " + std::to_string(i) + ".pdf",
                     5'000'000 + i * 700'000, {.modified = 1'680'000'000 + i * 86'400.0});
        builder.file(builder.root(), "Photo " + std::to_string(i) + ".jpg", 3'000'000 + i * 9'000,
                     {.modified = 1'699'000'000, .accessed = 1'699'900'000});
    }
    for (int i = 0; i < 25; ++i) {
        builder.smallFile(movies, 30'000);
    }
    auto scan = std::make_shared<ScanResult>(builder.finish());
    scan->kindCounts[FileKind::Video] += 25;
    return scan;
}

} // namespace

// The large-files and file-type screens in the main window at the window's least and a large
// size: before a scan, with a selection, with a filter that finds nothing.
class FileScreensGalleryTest : public QObject {
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
        for (const char* section : {"large", "types"}) {
            ShellFixture f;
            f.fixture.settings.setText(SettingsKeys::initialSection, section);
            f.makeState();
            RootView* root = f.show(new RootView(*f.state), size);
            [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.window.get());
            const QString name = QString::fromLatin1(section);
            test::savePictureWithNothingCut(*root, name + "-prompt-" + tag);
            test::AppStateAccess(*f.state).setScan(homeScan(f), ScanTarget::home());
            auto* table = root->findChild<QTableView*>(QStringLiteral("filesTableView"));
            table->selectionModel()->select(table->model()->index(1, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
            test::savePictureWithNothingCut(*root, name + "-" + tag);
            if (std::string_view(section) == "large") {
                f.state->setLargeFilter({.query = "nothing like this",
                                         .pathPrefix = f.fixture.locations.home + "/Downloads"});
                test::savePictureWithNothingCut(*root, name + "-empty-" + tag);
            }
        }
    }
};

DORVALE_QT_TEST(FileScreensGalleryTest)

} // namespace dorvale

#include "FileScreensGalleryTest.moc"
