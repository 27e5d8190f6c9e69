#include "analysis/Breadcrumbs.hpp"

#include "analysis/AnalysisFixture.hpp"
#include "analysis/MapSidePanel.hpp"
#include "analysis/SunburstView.hpp"
#include "support/qt/QtTests.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/LegendDot.hpp"
#include "widgets/RiskBadge.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QPushButton>
#include <QtTest>

namespace dorvale {

namespace {

using test::AnalysisFixture;

QStringList crumbTexts(const QWidget& bar) {
    QStringList texts;
    for (int i = 0;; ++i) {
        const auto* crumb = bar.findChild<QPushButton*>(QStringLiteral("crumb%1").arg(i));
        if (crumb == nullptr) {
            return texts;
        }
        texts << crumb->text();
    }
}

// Shortcuts reach only the active window.
Breadcrumbs* showActive(AnalysisFixture& f) {
    auto* bar = f.show(new Breadcrumbs(*f.state), {600, 40});
    bar->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(bar->window())) {
        qFatal("the window did not become active");
    }
    return bar;
}

} // namespace

// The explorer's path bar and the panel beside its map.
class BreadcrumbsTest : public QObject {
    Q_OBJECT

private slots:
    void aLoneRootCannotGoBack() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        builder.file(builder.root(), "a.mov", 1'000'000);
        f.publish(builder);
        auto* bar = showActive(f);
        auto* back = bar->findChild<IconButton*>(QStringLiteral("backButton"));
        QVERIFY(!back->isEnabled());
        QTest::keySequence(bar->window(), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
        QCOMPARE(f.state->explorerStack().size(), 1U);
        QCOMPARE(crumbTexts(*bar), QStringList{"~"});
    }

    void crumbsCutTheStackAndBackDropsOneFolder() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.builderAt("Work");
        FileNode* a = builder.folder(builder.root(), "a");
        FileNode* b = builder.folder(a, "b");
        FileNode* c = builder.folder(b, "c");
        builder.file(c, "deep.bin", 1'000'000);
        const auto scan = f.publish(builder, ScanTarget::folder(builder.root()->path()));
        f.state->setExplorerStack({scan->root, a, b, c});
        auto* bar = showActive(f);
        QCOMPARE(crumbTexts(*bar), (QStringList{"/Work", "a", "b", "c"}));

        QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("crumb3")), Qt::LeftButton);
        QCOMPARE(f.state->explorerStack().size(), 4U);
        // A button's shortcut clicks it as the pointer would, after showing it pressed.
        QTest::keySequence(bar->window(), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft));
        QTRY_COMPARE(f.state->explorerStack().back(), b);
        QTest::mouseClick(bar->findChild<QPushButton*>(QStringLiteral("crumb0")), Qt::LeftButton);
        QCOMPARE(f.state->explorerStack(), std::vector<const FileNode*>{scan->root});

        f.state->setExplorerStack({scan->root, a});
        QTest::mouseClick(bar->findChild<IconButton*>(QStringLiteral("revealFolderButton")),
                          Qt::LeftButton);
        QCOMPARE(f.fixture.workspace.revealed(),
                 std::vector<std::vector<std::string>>{{a->path()}});
    }

    void theSidePanelListsTheTenLargestDottedAsTheFirstRing() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        for (int i = 0; i < 15; ++i) {
            builder.file(builder.root(), "file" + std::to_string(i), 1'000'000 + i * 1000);
        }
        const auto scan = f.publish(builder);
        auto* panel = f.show(new MapSidePanel(*f.state, scan, scan->root), {280, 600});
        for (int i = 0; i < 10; ++i) {
            auto* row = panel->findChild<QWidget*>(QStringLiteral("largestItem%1").arg(i));
            QVERIFY(row != nullptr);
            QCOMPARE(row->findChild<LegendDot*>()->color(), SunburstView::palette()[i]);
            QCOMPARE(row->findChild<ElidedLabel*>()->text(), QStringLiteral("file%1").arg(14 - i));
        }
        QVERIFY(panel->findChild<QWidget*>(QStringLiteral("largestItem10")) == nullptr);
    }

    void aFolderOfEmptyItemsListsNothingButTheHint() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        builder.file(builder.root(), "empty", 0);
        builder.folder(builder.root(), "also empty");
        const auto scan = f.publish(builder);
        auto* panel = f.show(new MapSidePanel(*f.state, scan, scan->root), {280, 600});
        QVERIFY(panel->findChild<QWidget*>(QStringLiteral("largestItem0")) == nullptr);
        QVERIFY(panel->findChild<WrappingLabel*>(QStringLiteral("mapHint"))->isVisible());
    }

    void aFocusedNodeShowsItsDetails() {
        AnalysisFixture f;
        test::TreeBuilder builder = f.homeBuilder();
        FileNode* movies = builder.folder(builder.root(), "Movies");
        FileNode* movie =
            builder.file(movies, "A summer film with a title long enough to wrap.mov", 3'000'000);
        const auto scan = f.publish(builder);
        auto* panel = f.show(new MapSidePanel(*f.state, scan, scan->root), {280, 600});
        panel->setFocusNode(movie);
        const auto text = [panel](const char* name) {
            return panel->findChild<ElidedLabel*>(QString::fromLatin1(name))->text();
        };
        QCOMPARE(panel->findChild<ElidedLabel*>(QStringLiteral("focusName"))->maximumLines(), 2);
        QCOMPARE(text("focusBucket"), QString::fromUtf8(movie->bucketTitle().data()));
        QCOMPARE(text("focusSize"), "3 MB");
        QCOMPARE(text("focusPath"),
                 QStringLiteral("~/Movies/A summer film with a title long enough to wrap.mov"));
        const SafetyVerdict verdict = f.fixture.safety.verdict(movie->path());
        QCOMPARE(panel->findChild<RiskBadge*>(QStringLiteral("focusRisk"))->risk(), verdict.risk);
        QCOMPARE(panel->findChild<WrappingLabel*>(QStringLiteral("focusReason"))->text(),
                 QString::fromStdString(verdict.reason));
        panel->setFocusNode(nullptr);
        QVERIFY(panel->findChild<QWidget*>(QStringLiteral("largestItem0")) != nullptr);
    }
};

DORVALE_QT_TEST(BreadcrumbsTest)

} // namespace dorvale

#include "BreadcrumbsTest.moc"
