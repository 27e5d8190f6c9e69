#include "analysis/ExplorerView.hpp"
#include "analysis/SunburstView.hpp"
#include "app/RunInBackground.hpp"
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

#include <numbers>

namespace dorvale {

namespace {

using test::ShellFixture;
using test::TreeBuilder;

const std::string longName = "Holiday recordings from the summer in the mountains, edited, "
                             "graded and exported again for the family";

// A home folder with a deep path of long names, many children of every size and small files.
std::shared_ptr<ScanResult> homeScan(const ShellFixture& f) {
    TreeBuilder builder(f.fixture.locations.home);
    FileNode* movies = builder.folder(builder.root(), "Movies", {.modified = 1'690'000'000});
    FileNode* deep = builder.folder(movies, longName);
    FileNode* deeper = builder.folder(deep, "Exports for every device and every screen size");
    builder.file(deeper, longName + ".mov", 42'000'000'000);
    builder.file(deep, "Raw footage.mov", 18'000'000'000);
    FileNode* library = builder.folder(builder.root(), "Library", {.modified = 1'700'000'000});
    for (int i = 0; i < 40; ++i) {
        FileNode* app = builder.folder(library, "Support folder " + std::to_string(i));
        builder.file(app, "data.bin", 200'000'000 + std::int64_t{i} * 90'000'000);
    }
    builder.folder(builder.root(), "Empty folder");
    // More arcs than a ring has pixels for.
    FileNode* archive = builder.folder(builder.root(), "Archive");
    for (int i = 0; i < 1200; ++i) {
        FileNode* item = builder.folder(archive, "Item " + std::to_string(i));
        builder.file(item, "part.bin", 3'000'000 + (i % 7) * 100'000);
    }
    builder.file(builder.root(), "Tool.app", 900'000'000, {.modified = 1'600'000'000});
    for (int i = 0; i < 30; ++i) {
        builder.file(builder.root(), "Document " + std::to_string(i) + ".pdf",
                     5'000'000 + i * 700'000, {.modified = 1'680'000'000 + i * 86'400.0});
    }
    for (int i = 0; i < 25; ++i) {
        builder.smallFile(builder.root(), 30'000);
    }
    return std::make_shared<ScanResult>(builder.finish());
}

const FileNode* child(const FileNode& folder, std::string_view name) {
    for (const FileNode* node : folder.children()) {
        if (node->name() == name) {
            return node;
        }
    }
    qFatal("no child");
}

} // namespace

// The explorer in the main window, in list and map modes, at the window's least and a large
// size, with long names, a deep path, a selection, a hovered arc, a folder of a thousand
// narrow arcs and an empty folder.
class ExplorerGalleryTest : public QObject {
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
        for (const char* mode : {"list", "map"}) {
            ShellFixture f;
            f.fixture.settings.setText(SettingsKeys::initialSection, "explorer");
            f.fixture.settings.setText(SettingsKeys::explorerMode, mode);
            RootView* root = show(f, size);
            const QString name = QString::fromLatin1(mode);
            picture(*root, "explorer-prompt-" + name + "-" + tag);
            const auto scan = homeScan(f);
            test::AppStateAccess(*f.state).setScan(scan, ScanTarget::home());
            auto* table = root->findChild<QTableView*>(QStringLiteral("explorerTable"));
            table->selectionModel()->select(table->model()->index(1, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
            auto* map = root->findChild<SunburstView*>(QStringLiteral("sunburst"));
            if (map->isVisible()) {
                const auto g = map->geometry();
                map->handleHover(g.center + QPointF(g.ringWidth * 1.5, -g.ringWidth * 0.2));
            }
            test::finishAnimations(*root);
            // The application's verdict comes from the pool.
            workerPool().waitForDone();
            QCoreApplication::sendPostedEvents();
            picture(*root, "explorer-" + name + "-" + tag);
            const FileNode* movies = child(*scan->root, "Movies");
            const FileNode* deep = child(*movies, longName);
            f.state->setExplorerStack(
                {scan->root, movies, deep,
                 child(*deep, "Exports for every device and every screen size")});
            picture(*root, "explorer-deep-" + name + "-" + tag);
            f.state->setExplorerStack({scan->root, child(*scan->root, "Archive")});
            picture(*root, "explorer-many-" + name + "-" + tag);
            f.state->setExplorerStack({scan->root, child(*scan->root, "Empty folder")});
            picture(*root, "explorer-empty-" + name + "-" + tag);
        }
    }

private:
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

DORVALE_QT_TEST(ExplorerGalleryTest)

} // namespace dorvale

#include "ExplorerGalleryTest.moc"
