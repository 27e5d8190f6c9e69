#include "cleanup/JunkFixture.hpp"
#include "gallery/Gallery.hpp"
#include "shell/RootView.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/SectionedList.hpp"

#include <QRegularExpression>
#include <QtTest>

namespace dorvale {

namespace {

using test::JunkFixture;

// Findings of every group, with long item names and dates, of sizes from bytes to terabytes.
std::vector<JunkFinding> everyGroup(const JunkFixture& f) {
    std::vector<JunkFinding> junk = {
        f.finding("user-caches", 40, 120'000'000), f.finding("old-installers", 3, 900'000'000),
        f.finding("trash", 420, 3'500'000'000),    f.finding("user-logs", 5, 2'000),
        f.finding("mail-downloads", 1, 4'000'000), f.finding("xcode-derived", 9, 3'000'000'000),
        f.finding("dot-cache", 2, 50'000'000),     f.finding("ios-backups", 1, 60'000'000'000),
        f.finding("system-logs", 1, 10'000)};
    JunkItem& caches = junk[0].items[0];
    caches.id += ".an-application-with-a-very-long-bundle-identifier.that-keeps-going-and-going-"
                 "well-past-the-row";
    caches.modified = 1'700'000'000;
    junk[0].items[1].modified = 0;
    return junk;
}

} // namespace

// Draws the junk screen in the main window at its least and at a large size: listed with
// rules open and items ticked, searching, and with nothing found.
class JunkGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QTest::failOnWarning(
            QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
    }

    void screens_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1040, 680);
        QTest::newRow("large") << QSize(1600, 1000);
    }

    void screens() {
        QFETCH(QSize, size);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        {
            JunkFixture f;
            f.junk.answer(everyGroup(f));
            RootView* root = show(f, size);
            QTRY_VERIFY(!f.state().junkLoading());
            auto* view = root->findChild<JunkView*>();
            JunkModel& model = *view->model();
            const QModelIndex caches = model.ruleIndex("user-caches");
            view->list()->expand(caches);
            view->list()->expand(model.ruleIndex("trash"));
            model.setData(model.index(0, 0, caches), Qt::Checked, Qt::CheckStateRole);
            model.setData(model.ruleIndex("old-installers"), Qt::Checked, Qt::CheckStateRole);
            test::savePictureWithNothingCut(*root, "junk-" + tag);
            view->list()->scrollTo(
                model.index(SectionedListModel::maxShown, 0, model.ruleIndex("trash")));
            test::savePictureWithNothingCut(*root, "junk-more-" + tag);
        }
        {
            JunkFixture f;
            f.junk.hold();
            RootView* root = show(f, size);
            QTRY_COMPARE(f.junk.scans(), 1);
            test::savePictureWithNothingCut(*root, "junk-searching-" + tag);
        }
        {
            JunkFixture f;
            RootView* root = show(f, size);
            QTRY_VERIFY(!f.state().junkLoading());
            test::savePictureWithNothingCut(*root, "junk-empty-" + tag);
        }
    }

private:
    static RootView* show(JunkFixture& f, const QSize& size) {
        f.shell.makeState().setSection(AppSection::Junk);
        RootView* root = f.shell.show(new RootView(*f.shell.state), size);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(f.shell.window.get());
        return root;
    }
};

DORVALE_QT_TEST(JunkGalleryTest)

} // namespace dorvale

#include "JunkGalleryTest.moc"
