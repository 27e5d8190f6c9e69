#include "analysis/SunburstView.hpp"

#include "support/TreeBuilder.hpp"
#include "support/qt/QtTests.hpp"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <numbers>

namespace dorvale {

namespace {

using test::TreeBuilder;

constexpr double turn = 2 * std::numbers::pi;

std::shared_ptr<ScanResult> share(TreeBuilder& builder) {
    return std::make_shared<ScanResult>(builder.finish());
}

// The point in the middle of `arc`'s ring segment.
QPointF middleOf(const SunburstView::Arc& arc, const SunburstView::Geometry& g) {
    const double angle = (arc.start + arc.end) / 2;
    const double radius = g.ringWidth * (arc.depth + 0.5);
    return g.center + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
}

const SunburstView::Arc& arcOf(const std::vector<SunburstView::Arc>& arcs, std::string_view name) {
    for (const auto& arc : arcs) {
        if (arc.node->name() == name) {
            return arc;
        }
    }
    qFatal("no arc");
}

} // namespace

class SunburstViewTest : public QObject {
    Q_OBJECT

private slots:
    void nothingToDrawGivesNoArcs() {
        TreeBuilder empty("/r");
        empty.folder(empty.root(), "void");
        const auto zero = share(empty);
        QVERIFY(SunburstView::layoutArcs(*zero->root, 5).empty());

        TreeBuilder gone("/r");
        FileNode* a = gone.file(gone.root(), "a", 4096);
        const auto deleted = share(gone);
        deleted->markDeleted(*a);
        QVERIFY(SunburstView::layoutArcs(*deleted->root, 5).empty());
    }

    void aSingleChildTakesTheWholeTurnAndPassesItsColourDown() {
        TreeBuilder builder("/r");
        FileNode* only = builder.folder(builder.root(), "only");
        builder.file(only, "big", 3000);
        builder.file(only, "small", 1000);
        const auto scan = share(builder);
        const auto arcs = SunburstView::layoutArcs(*scan->root, 5);
        QCOMPARE(arcs.size(), 3U);
        // Pre-order: the folder before what lies inside it.
        QCOMPARE(arcs[0].node->name(), "only");
        QCOMPARE(arcs[0].depth, 1);
        QCOMPARE(arcs[0].start, 0.0);
        QCOMPARE(arcs[0].end, turn);
        QCOMPARE(arcs[1].node->name(), "big");
        QCOMPARE(arcs[1].depth, 2);
        QCOMPARE(arcs[1].end, turn * 0.75);
        QCOMPARE(arcs[2].start, turn * 0.75);
        QVERIFY(std::abs(arcs[2].end - turn) < 1e-12);
        for (const auto& arc : arcs) {
            QCOMPARE(arc.color, SunburstView::palette()[0]);
        }
    }

    void siblingsTooSmallLeaveTheirParentsClockwiseEndEmpty() {
        TreeBuilder builder("/r");
        builder.file(builder.root(), "tiny", 1);
        builder.file(builder.root(), "huge", 1'000'000);
        builder.file(builder.root(), "also tiny", 1);
        const auto scan = share(builder);
        const auto arcs = SunburstView::layoutArcs(*scan->root, 5);
        QCOMPARE(arcs.size(), 1U);
        QCOMPARE(arcs[0].node->name(), "huge");
        QCOMPARE(arcs[0].start, 0.0);
        QVERIFY(arcs[0].end < turn);
    }

    void ringsStopAtTheDepthLimitAndColourByPosition() {
        TreeBuilder builder("/r");
        FileNode* folder = builder.root();
        for (int depth = 1; depth <= 7; ++depth) {
            folder = builder.folder(folder, "level" + std::to_string(depth));
        }
        builder.file(folder, "deep", 1 << 20);
        for (int i = 0; i < 13; ++i) {
            builder.file(builder.root(), "f" + std::to_string(i), 1000);
        }
        const auto scan = share(builder);
        const auto arcs = SunburstView::layoutArcs(*scan->root, 5);
        int deepest = 0;
        for (const auto& arc : arcs) {
            deepest = std::max(deepest, arc.depth);
        }
        QCOMPARE(deepest, 5);
        // The chain comes first by size; the thirteen files follow it, and the colours of the
        // first ring go round after twelve.
        QCOMPARE(arcOf(arcs, "level1").color, SunburstView::palette()[0]);
        QCOMPARE(arcOf(arcs, "f0").color, SunburstView::palette()[1]);
        QCOMPARE(arcOf(arcs, "f11").color, SunburstView::palette()[0]);
        QCOMPARE(arcOf(arcs, "level5").color, SunburstView::palette()[0]);
    }

    void geometryAndHitTest() {
        const auto g = SunburstView::Geometry::of(QSizeF(400, 300), 5);
        QCOMPARE(g.radius, 150.0);
        QCOMPARE(g.ringWidth, 25.0);
        QCOMPARE(g.center, QPointF(200, 150));
        QCOMPARE(g.ringAt({200, 95}), std::optional<int>(2));
        QCOMPARE(g.angleAt({200, 95}), 0.0);
        QCOMPARE(g.angleAt({250, 150}), std::numbers::pi / 2);

        const auto none = SunburstView::Geometry::of(QSizeF(0, 0), 5);
        QCOMPARE(none.ringAt({0, 0}), std::nullopt);

        TreeBuilder builder("/r");
        builder.file(builder.root(), "a", 3000);
        builder.file(builder.root(), "b", 1000);
        const auto scan = share(builder);
        const auto arcs = SunburstView::layoutArcs(*scan->root, 5);
        QCOMPARE(SunburstView::hitTest(arcs, g, {200, 110})->node->name(),
                 "a"); // ring 1, 12 o'clock
        QCOMPARE(SunburstView::hitTest(arcs, g, {170, 150})->node->name(),
                 "b");                                                 // ring 1, 9 o'clock
        QCOMPARE(SunburstView::hitTest(arcs, g, {200, 150}), nullptr); // centre
        QCOMPARE(SunburstView::hitTest(arcs, g, {200, 95}), nullptr);  // empty ring 2
        QCOMPARE(SunburstView::hitTest(arcs, none, {0, 0}), nullptr);
    }

    void centerTitleNamesTheDiskOrTheLastComponent() {
        TreeBuilder data("/System/Volumes/Data");
        data.folder(data.root(), "Users");
        const auto disk = share(data);
        QCOMPARE(SunburstView::centerTitle(*disk->root, "/System/Volumes/Data"), "Disk");
        QCOMPARE(SunburstView::centerTitle(*disk->root->children()[0], "/System/Volumes/Data"),
                 "Users");
        TreeBuilder top("/");
        const auto root = share(top);
        QCOMPARE(SunburstView::centerTitle(*root->root, "/"), "Disk");
        TreeBuilder home("/home/ana");
        const auto homeScan = share(home);
        QCOMPARE(SunburstView::centerTitle(*homeScan->root, "/"), "ana");
    }

    void hoveringKeepsTheHoveredSubtreeBright() {
        TreeBuilder builder("/r");
        FileNode* folder = builder.folder(builder.root(), "folder");
        FileNode* inner = builder.folder(folder, "inner");
        builder.file(inner, "deep", 2000);
        builder.file(builder.root(), "file", 1000);
        const auto scan = share(builder);
        const auto arcs = SunburstView::layoutArcs(*scan->root, 5);
        const auto& folderArc = arcOf(arcs, "folder");
        const auto& innerArc = arcOf(arcs, "inner");
        const auto& deepArc = arcOf(arcs, "deep");
        const auto& fileArc = arcOf(arcs, "file");
        const auto opacity = [](const SunburstView::Arc& arc, const FileNode* hovered) {
            return SunburstView::arcOpacity(arc, hovered);
        };
        QCOMPARE(opacity(folderArc, nullptr), 1.0);
        QCOMPARE(opacity(innerArc, nullptr), 0.88);
        QCOMPARE(opacity(deepArc, nullptr), 0.76);
        QCOMPARE(opacity(innerArc, folderArc.node), 0.88);
        QCOMPARE(opacity(deepArc, folderArc.node), 0.76);
        QCOMPARE(opacity(fileArc, folderArc.node), 0.25);
        QCOMPARE(opacity(fileArc, fileArc.node), 1.0);
        QCOMPARE(opacity(folderArc, fileArc.node), 0.25);
        QCOMPARE(opacity(folderArc, innerArc.node), 0.25);
        QCOMPARE(opacity({deepArc.node, 9, 0, 1, {}}, nullptr), 0.45);
    }

    // Arcs too narrow for a pixel are painted merged with their neighbours in their mixed
    // colour, and a lone one not at all; wide arcs keep their colour.
    void narrowArcsMergeIntoBandsOfTheirMixedColour() {
        const QSize size(600, 600);
        const SunburstView::Geometry g = SunburstView::Geometry::of(QSizeF(size), 5);
        std::vector<SunburstView::Arc> arcs;
        // Forty arcs of half a pixel at their outer edge, red and blue by turns.
        for (int i = 0; i < 40; ++i) {
            arcs.push_back({nullptr, 1, 0.5 + i * 0.005, 0.5 + (i + 1) * 0.005,
                            i % 2 == 0 ? QColor(Qt::red) : QColor(Qt::blue)});
        }
        arcs.push_back({nullptr, 1, 2.0, 2.004, Qt::red});
        arcs.push_back({nullptr, 1, 3.0, 4.0, Qt::green});
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = SunburstView::drawArcs(arcs, size, 5, ratio, nullptr, Qt::white);
            const auto pixel = [&](double angle) {
                const double radius = g.ringWidth * 1.5;
                const QPointF at =
                    g.center + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
                return image.pixelColor((at * ratio).toPoint());
            };
            const QColor merged = pixel(0.6);
            // Purple, paled a little where the bands' smoothed edges meet.
            QVERIFY2(merged.red() > merged.green() + 50 && merged.blue() > merged.green() + 50,
                     qPrintable(merged.name()));
            QCOMPARE(pixel(2.002), QColor(Qt::white));
            QCOMPARE(pixel(3.5), QColor(Qt::green));
        }
    }

    void clicksOpenFoldersAndGoUpFromTheCentre() {
        TreeBuilder builder("/r");
        FileNode* a = builder.folder(builder.root(), "a");
        FileNode* b = builder.folder(a, "b");
        FileNode* c = builder.folder(b, "c");
        builder.file(c, "movie.mov", 8000);
        FileNode* app = builder.folder(builder.root(), "Tool.app");
        builder.file(app, "binary", 4000);
        const auto scan = share(builder);
        SunburstView view(scan, scan->root, 5, "/");
        view.resize(400, 400);
        QSignalSpy opened(&view, &SunburstView::openRequested);
        QSignalSpy up(&view, &SunburstView::upRequested);
        const auto g = view.geometry();
        view.handleTap(g.center);
        QCOMPARE(up.count(), 1);
        view.handleTap(middleOf(arcOf(view.arcs(), "Tool.app"), g));
        view.handleTap(middleOf(arcOf(view.arcs(), "movie.mov"), g));
        QCOMPARE(opened.count(), 0);
        view.handleTap(middleOf(arcOf(view.arcs(), "c"), g));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).value<const FileNode*>(), c);
    }

    void hoverReportsOnlyChanges() {
        TreeBuilder builder("/r");
        builder.file(builder.root(), "a", 3000);
        const auto scan = share(builder);
        SunburstView view(scan, scan->root, 5, "/");
        view.resize(400, 400);
        QSignalSpy changed(&view, &SunburstView::hoveredChanged);
        const auto& arc = arcOf(view.arcs(), "a");
        const QPointF onArc = middleOf(arc, view.geometry());
        view.handleHover(onArc);
        view.handleHover(onArc + QPointF(1, 1));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(view.hovered(), arc.node);
        QCOMPARE(view.centerLabel().value(2), "100%");
        view.handleHover(view.geometry().center);
        view.handleHover(std::nullopt);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(view.hovered(), nullptr);
        QCOMPARE(view.centerLabel().size(), 2); // the root has no parent: no "Up"
    }
};

DORVALE_QT_TEST(SunburstViewTest)

} // namespace dorvale

#include "SunburstViewTest.moc"
