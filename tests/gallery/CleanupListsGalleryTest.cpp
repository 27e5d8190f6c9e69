#include "app/SettingsKeys.hpp"
#include "cleanup/DuplicatesFixture.hpp"
#include "cleanup/DuplicatesModel.hpp"
#include "cleanup/DuplicatesView.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/qt/QtTests.hpp"

#include <QRegularExpression>
#include <QtTest>

namespace dorvale {

namespace {

using test::DuplicatesFixture;
using test::TreeBuilder;

const std::string longName = "Holiday recordings from the summer in the mountains, edited, "
                             "graded and exported again for the family";

// Groups of two to four copies, some with long names deep in long folders; `extra` more
// groups of two small copies each.
std::vector<DuplicateGroup> copies(DuplicatesFixture& f, int extra) {
    TreeBuilder builder(f.shell.fixture.locations.home);
    FileNode* deep = builder.folder(builder.folder(builder.root(), longName),
                                    "Exports for every device and every screen size");
    FileNode* photos = builder.folder(builder.root(), "Pictures");
    FileNode* backup = builder.folder(builder.root(), "Backup");
    std::vector<DuplicateGroup> groups;
    const auto group = [&groups](std::string id, std::int64_t size,
                                 std::vector<const FileNode*> files) {
        groups.push_back({.id = std::move(id), .size = size, .files = std::move(files)});
    };
    const test::NodeOptions old{.modified = 1'500'000'000};
    const test::NodeOptions recent{.modified = 1'700'000'000};
    group("a", 4'200'000'000,
          {builder.file(deep, longName + ".mov", 4'200'000'000, old),
           builder.file(backup, longName + ".mov", 4'200'000'000, recent),
           builder.file(builder.root(), "movie copy.mov", 4'200'000'000, recent)});
    group("b", 12'000'000,
          {builder.file(photos, "IMG_0001.heic", 12'000'000, old),
           builder.file(backup, "IMG_0001.heic", 12'000'000, recent)});
    group("c", 3'000'000,
          {builder.file(photos, "Scan.pdf", 3'000'000), builder.file(backup, "Scan.pdf", 3'000'000),
           builder.file(backup, "Scan (1).pdf", 3'000'000),
           builder.file(backup, "Scan (2).pdf", 3'000'000)});
    for (int i = 0; i < extra; ++i) {
        const std::string name = "part" + std::to_string(i) + ".dat";
        group("x" + std::to_string(i), 1'100'000,
              {builder.file(photos, name, 1'100'000), builder.file(backup, name, 1'100'000)});
    }
    f.scan = std::make_shared<ScanResult>(builder.finish());
    return groups;
}

} // namespace

// The duplicates and history pages in the main window at its least and a large size: before
// a scan, idle, comparing, with groups and ticks, with ten thousand groups, and the history
// empty and full, with the failures of the last run.
class CleanupListsGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void pages_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void pages() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        duplicates(size, tag);
        history(size, tag);
    }

private:
    static void duplicates(const QSize& size, const QString& tag) {
        DuplicatesFixture f;
        f.shell.fixture.settings.setText(SettingsKeys::initialSection, "duplicates");
        RootView* root = show(f.shell, size);
        picture(*root, "duplicates-prompt-" + tag);
        f.search.answer(copies(f, 0));
        test::AppStateAccess(f.state()).setScan(f.scan, ScanTarget::home());
        picture(*root, "duplicates-idle-" + tag);
        f.state().findDuplicates();
        picture(*root, "duplicates-comparing-" + tag);
        f.search.gate.open();
        QTRY_VERIFY(!f.state().duplicates().empty());
        auto* view = root->findChild<DuplicatesView*>();
        view->model().selectAllCopies();
        picture(*root, "duplicates-results-" + tag);
        std::vector<DuplicateGroup> many = copies(f, 10'000);
        test::AppStateAccess(f.state()).setScan(f.scan, ScanTarget::home());
        test::AppStateAccess(f.state()).setDuplicates(std::move(many));
        picture(*root, "duplicates-many-" + tag);
    }

    static void history(const QSize& size, const QString& tag) {
        test::ShellFixture f;
        f.fixture.settings.setText(SettingsKeys::initialSection, "history");
        RootView* root = show(f, size);
        picture(*root, "history-empty-" + tag);
        std::vector<DeletionRequest> requests;
        for (const std::string& name : {longName + ".mov", std::string("notes.txt"),
                                        std::string("Old Project"), std::string("cache.db")}) {
            requests.push_back({.path = f.fixture.tree.file("Users/a/Documents/" + name, name),
                                .removal = name == "cache.db" ? Removal::Permanent : Removal::Trash,
                                .confirmedRisk = Risk::Review});
        }
        bool ended = false;
        f.state->runDeletion(requests, true, [&ended](const DeletionReport&) { ended = true; });
        QTRY_VERIFY(ended);
        f.state->restore({f.state->history().entries()[1]}, AppState::RestoreFeedback::Silent);
        std::vector<DeletionFailure> failures;
        for (int i = 0; i < 10; ++i) {
            failures.push_back(
                {.path = f.fixture.locations.home + "/Library/" + longName + std::to_string(i),
                 .reason = "The item is protected by the system."});
        }
        test::AppStateAccess(*f.state).setFailures(failures);
        picture(*root, "history-" + tag);
    }

    static void picture(QWidget& widget, const QString& name) {
        test::finishAnimations(widget);
        test::savePictureWithNothingCut(widget, name);
    }

    static RootView* show(test::ShellFixture& f, const QSize& size) {
        f.makeState();
        RootView* root = f.show(new RootView(*f.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.window.get());
        return root;
    }
};

DORVALE_QT_TEST(CleanupListsGalleryTest)

} // namespace dorvale

#include "CleanupListsGalleryTest.moc"
