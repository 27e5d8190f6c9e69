#include "app/SettingsKeys.hpp"
#include "gallery/Gallery.hpp"
#include "platform/Paths.hpp"
#include "shell/AboutDialog.hpp"
#include "shell/settings/SettingsWindow.hpp"
#include "shell/sheets/DeletionConfirmationSheet.hpp"
#include "shell/sheets/DeletionPlanModel.hpp"
#include "support/app/ShellFixture.hpp"
#include "support/qt/QtTests.hpp"

#include <QCheckBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

#include <string>
#include <vector>

namespace dorvale {

namespace {

using test::ShellFixture;

const std::string longFolder =
    "/Library/Developer/Xcode/DerivedData/AnExtremelyLongProjectName-abcdefghijklmnopqrstuvwxyz/"
    "Build/Intermediates.noindex/ArchiveIntermediates/Target/IntermediateBuildFilesPath";
const std::string longName =
    "Holiday recordings from the summer in the mountains, edited and exported again.mov";

PlanItem planItem(const ShellFixture& f, const std::string& path, std::int64_t size,
                  std::optional<Risk> risk = std::nullopt) {
    SafetyVerdict verdict = f.fixture.safety.verdict(path);
    if (risk) {
        verdict.risk = *risk;
    }
    return PlanItem{PlanCandidate{.path = path,
                                  .name = std::string(lastComponent(path)),
                                  .size = size,
                                  .removal = Removal::Trash},
                    verdict};
}

// Safe caches, review items with long names and paths, and protected folders; many of each.
std::vector<PlanItem> mixedPlan(const ShellFixture& f) {
    const std::string home = f.fixture.locations.home;
    std::vector<PlanItem> items{
        planItem(f, home + "/Downloads" + longFolder + "/" + longName, 7'340'032'000, Risk::Safe)};
    for (int index = 0; index < 40; ++index) {
        items.push_back(planItem(f, home + "/Downloads/installer-" + std::to_string(index) + ".zip",
                                 1'234'567LL * (index + 1)));
    }
    items.push_back(planItem(f, home + longFolder + "/" + longName, 48'000'000'000, Risk::Review));
    for (int index = 0; index < 30; ++index) {
        items.push_back(planItem(f, home + "/Projects/draft-" + std::to_string(index) + ".txt",
                                 4'096LL * (index + 1)));
    }
    items.push_back(planItem(f, home + "/Documents", 9'876'543'210));
    items.push_back(planItem(f, home + "/Desktop", 123'456'789));
    return items;
}

std::vector<PlanItem> protectedPlan(const ShellFixture& f) {
    return {planItem(f, f.fixture.locations.home + "/Documents", 9'876'543'210),
            planItem(f, f.fixture.locations.home + "/Pictures", 1'000)};
}

// Each picture is drawn with nothing cut, at the least size too.
void picture(QWidget& widget, const QString& name) {
    test::savePicture(widget, name);
    QCOMPARE(test::clippedWidgets(widget).join(QStringLiteral("; ")), QString());
}

// Sizes each picture is taken at: the widget's least size, and a large one.
std::vector<std::pair<QString, QSize>> sizes(const QWidget& widget, QSize large) {
    return {{QStringLiteral("minimum"), widget.minimumSizeHint().expandedTo(widget.minimumSize())},
            {QStringLiteral("large"), large}};
}

} // namespace

// Renders the confirmation sheet and every settings pane at their least and a large size.
// Offscreen rendering may warn only that it cannot hand size limits to the window system.
// With DORVALE_GALLERY_DIR set, the pictures are written there to be looked at.
class SheetsGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void deletionSheet_data() {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<bool>("permanent");
        QTest::addColumn<bool>("acknowledged");
        QTest::newRow("mixed") << "mixed" << false << false;
        QTest::newRow("mixed-acknowledged-permanent") << "mixed" << true << true;
        QTest::newRow("protected") << "protected" << false << false;
    }

    void deletionSheet() {
        QFETCH(QString, plan);
        QFETCH(bool, permanent);
        QFETCH(bool, acknowledged);
        ShellFixture f;
        f.fixture.settings.setBool(SettingsKeys::permanentDelete, permanent);
        f.makeState();
        f.state->requestDeletion(QStringLiteral("Delete 74 Items from Downloads, Projects and the "
                                                "Developer Folders"),
                                 plan == "mixed" ? mixedPlan(f) : protectedPlan(f));
        f.show(new QWidget, {1200, 900});
        auto* sheet = new DeletionConfirmationSheet(*f.state, *f.state->plan(), f.window.get());
        sheet->open();
        if (acknowledged) {
            sheet->findChild<QCheckBox*>(QStringLiteral("reviewAcknowledgement"))->click();
            // Shows the review group, where the acknowledged rows are no longer dimmed.
            auto* list = sheet->findChild<QTreeView*>(QStringLiteral("planList"));
            list->scrollTo(list->model()->index(sheet->model()->count(Risk::Safe) + 1, 0),
                           QAbstractItemView::PositionAtTop);
        }
        for (const auto& [tag, size] : sizes(*sheet, {1000, 820})) {
            sheet->resize(size);
            picture(*sheet, QStringLiteral("sheet-%1-%2").arg(QTest::currentDataTag(), tag));
        }
    }

    void settingsPanes() {
        ShellFixture f;
        f.fixture.fullDiskAccess = false;
        f.fixture.settings.setDate(SettingsKeys::lastAutoClean, f.fixture.clock.now() - 7'200);
        f.fixture.settings.setInteger(SettingsKeys::lastAutoCleanBytes, 734'003'200);
        f.fixture.settings.setText(SettingsKeys::excludedPaths,
                                   "/srv/cache\n" + f.fixture.locations.home + longFolder +
                                       "\n/Volumes/Backup");
        f.makeState();
        SettingsWindow window(*f.state);
        window.present();
        for (int pane = 0; pane < window.tabs()->count(); ++pane) {
            window.tabs()->setCurrentIndex(pane);
            const QString name = window.tabs()->tabText(pane).toLower();
            for (const auto& [tag, size] : sizes(window, {900, 700})) {
                window.resize(size);
                picture(window, QStringLiteral("settings-%1-%2").arg(name, tag));
            }
        }
    }

    // The dialog keeps one size, as wide as its longest line.
    void about() {
        QWidget window;
        window.resize(1040, 680);
        window.show();
        auto* about = new AboutDialog(&window);
        about->show();
        picture(*about, QStringLiteral("about"));
        about->close();
    }
};

DORVALE_QT_TEST(SheetsGalleryTest)

} // namespace dorvale

#include "SheetsGalleryTest.moc"
