#include "app/SettingsKeys.hpp"
#include "cleanup/AppsView.hpp"
#include "cleanup/CleanupPagesFixture.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/app/AppStateAccess.hpp"
#include "support/qt/QtTests.hpp"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

namespace dorvale {

namespace {

using test::CleanupPagesFixture;

constexpr Timestamp now = 1'700'000'000;

const std::string longName = "Studio for Recording, Mixing and Mastering Long Sessions of "
                             "Music with Friends";

// Applications of every kind: Apple, store, running, without data, with more data than
// bundle, never used, and one with a very long name and many related items.
std::vector<InstalledApp> someApps(const CleanupPagesFixture& f) {
    std::vector<InstalledApp> apps;
    const auto add = [&](std::string name, std::int64_t size, std::int64_t data, double daysAgo) {
        InstalledApp app;
        app.path = "/Applications/" + name + ".app";
        app.name = std::move(name);
        app.bundleID = "com.example." + std::to_string(apps.size());
        app.version = std::to_string(apps.size() + 1) + ".0.3";
        app.appSize = size;
        if (data > 0) {
            app.related.push_back({.path = f.home("Library/Caches/" + *app.bundleID),
                                   .label = "Caches",
                                   .size = data});
        }
        if (daysAgo >= 0) {
            app.lastUsed = now - daysAgo * 86'400;
        }
        apps.push_back(std::move(app));
        return &apps.back();
    };
    InstalledApp* studio = add(longName, 3'400'000'000, 0, 2);
    for (const char* label : {"Application Support", "Containers", "Preferences", "Saved State",
                              "Logs", "HTTP Storage"}) {
        studio->related.push_back({.path = f.home(std::string("Library/") + label +
                                                  "/com.example.studio with a long "
                                                  "name for its data folder"),
                                   .label = label,
                                   .size = 120'000'000});
    }
    add("Editor", 250'000'000, 1'900'000'000, 1)->isAppStore = true;
    add("Viewer", 80'000'000, 0, -1);
    add("Notes", 12'000'000, 4'000, 200);
    InstalledApp* browser = add("Browser", 600'000'000, 300'000'000, 0);
    browser->bundleID = "com.apple.browser";
    browser->isApple = true;
    for (int i = 0; i < 30; ++i) {
        add("Tool " + std::to_string(i), 1'000'000 * (i + 1), 500'000 * i, i * 10.0);
    }
    return apps;
}

std::vector<Leftover> someLeftovers(const CleanupPagesFixture& f) {
    std::vector<Leftover> leftovers;
    const char* locations[] = {"Application Support", "Caches", "Preferences", "Containers",
                               "Saved Application State"};
    for (int i = 0; i < 40; ++i) {
        const std::string identifier =
            i == 0 ? "com.example.an-application-with-a-very-long-identifier-that-goes-on-"
                     "and-on-until-it-cannot-fit.helper"
                   : "com.example.removed" + std::to_string(i);
        const std::string location = locations[i % 5];
        leftovers.push_back(
            {.path = f.home("Library/" + location + "/" + identifier),
             .identifier = identifier,
             .location = location,
             .size = 900'000'000 / (i + 1),
             .modified = i % 7 == 3 ? std::nullopt : std::optional(now - i * 86'400.0 * 9)});
    }
    return leftovers;
}

// Projects with dependencies, environments and builds, one of them deep with long names.
std::shared_ptr<ScanResult> projects(const CleanupPagesFixture& f) {
    test::TreeBuilder builder(f.locations().home);
    FileNode* code = builder.folder(builder.root(), "Code");
    const char* artefacts[] = {"node_modules", ".venv", "Pods", ".next", "__pycache__"};
    for (int i = 0; i < 15; ++i) {
        FileNode* project = builder.folder(code, "project-" + std::to_string(i),
                                           {.modified = now - i * 86'400.0 * 20});
        FileNode* artefact = builder.folder(project, artefacts[i % 5]);
        builder.file(artefact, "data.bin", 30'000'000 + std::int64_t{i} * 70'000'000);
    }
    FileNode* deep = builder.folder(
        builder.folder(code, "a client project with a very long name that keeps going"),
        "its front end written again for the third time with another framework");
    builder.file(builder.folder(deep, "node_modules"), "bundle.js", 4'000'000'000);
    return std::make_shared<ScanResult>(builder.finish());
}

} // namespace

// The applications, leftovers and developer pages in the main window at its least and at a
// large size: loading, lists with long names, a selection with its inspector, empty lists.
class CleanupPagesGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void apps_data() { sizes(); }
    void apps() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        CleanupPagesFixture f;
        f.shell.fixture.workspace.setRunning({"com.example.0"});
        f.answerApps(someApps(f));
        f.hold();
        RootView* root = show(f, "apps", size);
        picture(*root, "apps-loading-" + tag);
        f.release();
        QTRY_VERIFY(!f.state().apps().empty());
        picture(*root, "apps-" + tag);
        auto* view = root->findChild<AppsView*>();
        view->setSelection("/Applications/" + longName + ".app");
        picture(*root, "apps-inspector-" + tag);
        view->setFilter({.query = QStringLiteral("nothing"), .hideApple = false});
        view->setSelection("/Applications/Browser.app");
        picture(*root, "apps-inspector-apple-filtered-" + tag);
    }

    void leftovers_data() { sizes(); }
    void leftovers() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        CleanupPagesFixture f;
        f.hold();
        RootView* root = show(f, "leftovers", size);
        picture(*root, "leftovers-searching-" + tag);
        f.release();
        QTRY_VERIFY(!f.state().leftoversLoading());
        picture(*root, "leftovers-empty-" + tag);
        f.answerLeftovers(someLeftovers(f));
        f.state().loadLeftovers();
        QTRY_VERIFY(!f.state().leftovers().empty());
        auto* table = root->findChild<QTableView*>(QStringLiteral("leftoversTable"));
        for (const int row : {0, 2, 3}) {
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        }
        picture(*root, "leftovers-" + tag);
    }

    void developer_data() { sizes(); }
    void developer() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        CleanupPagesFixture f;
        f.junk.answer({test::ChosenJunk::finding(f.locations(), "xcode-derived", 12, 0),
                       test::ChosenJunk::finding(f.locations(), "npm-cache", 1, 2'000'000'000)});
        f.junk.hold();
        RootView* root = show(f, "developer", size);
        picture(*root, "developer-empty-" + tag);
        f.junk.release();
        QTRY_VERIFY(!f.state().junk().empty());
        picture(*root, "developer-no-scan-" + tag);
        test::AppStateAccess(f.state()).setScan(projects(f), ScanTarget::home());
        auto* table = root->findChild<QTableView*>(QStringLiteral("developerTable"));
        table->selectionModel()->select(table->model()->index(1, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        picture(*root, "developer-" + tag);
    }

private:
    static void sizes() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    static void picture(QWidget& widget, const QString& name) {
        test::finishAnimations(widget);
        test::savePictureWithNothingCut(widget, name);
    }

    static RootView* show(CleanupPagesFixture& f, const char* section, const QSize& size) {
        f.shell.fixture.settings.setText(SettingsKeys::initialSection, section);
        f.shell.makeState();
        RootView* root = f.shell.show(new RootView(*f.shell.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.shell.window.get());
        return root;
    }
};

DORVALE_QT_TEST(CleanupPagesGalleryTest)

} // namespace dorvale

#include "CleanupPagesGalleryTest.moc"
