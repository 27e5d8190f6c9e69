// Times the explorer's map and list on generated trees of about a million nodes: laying out
// and painting the sunburst to five rings at pixel ratios 1 and 2, for a typical tree and for
// the worst case (rings filled to their limit, and a folder of 100,000 small files), and the
// list's sort by name and by size of a folder of 100,000 children.
#include "analysis/ExplorerModel.hpp"
#include "analysis/SunburstView.hpp"
#include "model/NodeArena.hpp"
#include "model/SafetyPolicy.hpp"
#include "platform/Locations.hpp"
#include "platform/Workspace.hpp"
#include "widgets/NameRanks.hpp"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace dorvale;
using Clock = std::chrono::steady_clock;

constexpr int depth = 5;
constexpr int rounds = 20;
const QSize chartSize(760, 760);

// Builds a tree from the top down; each folder's figures are summed when it is closed.
class Tree {
public:
    Tree() {
        FileNode::Attributes attributes;
        attributes.isDirectory = true;
        m_root = m_result.nodes->make("/bench", nullptr, attributes);
        m_result.root = m_root;
        m_result.rootPath = "/bench";
    }

    FileNode* root() const { return m_root; }

    // A folder filled by `fill`, then summed into `parent`.
    FileNode* folder(FileNode* parent, const std::string& name,
                     const std::function<void(FileNode*)>& fill) {
        FileNode::Attributes attributes;
        attributes.isDirectory = true;
        attributes.size = 4096;
        FileNode* folder = m_result.nodes->make(name, parent, attributes);
        m_children[parent].push_back(folder);
        fill(folder);
        m_result.nodes->setChildren(*folder, m_children[folder]);
        m_result.nodes->addContents(*parent, *folder);
        m_children.erase(folder);
        ++m_count;
        return folder;
    }

    void file(FileNode* parent, const std::string& name, std::int64_t size) {
        FileNode::Attributes attributes;
        attributes.size = size;
        attributes.logicalSize = size;
        attributes.fileCount = 1;
        attributes.modified = 1'600'000'000 + static_cast<double>(m_count % 100'000) * 60;
        FileNode* node = m_result.nodes->make(name, parent, attributes);
        m_children[parent].push_back(node);
        m_result.nodes->addFile(*parent, size, size);
        m_result.files.push_back(node);
        ++m_count;
    }

    std::shared_ptr<const ScanResult> finish() {
        m_result.nodes->setChildren(*m_root, m_children[m_root]);
        return std::make_shared<const ScanResult>(std::move(m_result));
    }

    std::size_t count() const { return m_count; }

private:
    ScanResult m_result;
    FileNode* m_root;
    std::unordered_map<FileNode*, std::vector<FileNode*>> m_children;
    std::size_t m_count = 1;
};

// 20 × 20 × 50 folders of 50 files each, sizes spread over four orders of magnitude.
std::shared_ptr<const ScanResult> typicalTree() {
    Tree tree;
    std::mt19937_64 random(7);
    std::lognormal_distribution<double> sizes(13.0, 2.0);
    for (int a = 0; a < 20; ++a) {
        tree.folder(tree.root(), "area-" + std::to_string(a), [&](FileNode* area) {
            for (int b = 0; b < 20; ++b) {
                tree.folder(area, "group-" + std::to_string(b), [&](FileNode* group) {
                    for (int c = 0; c < 50; ++c) {
                        tree.folder(group, "item-" + std::to_string(c), [&](FileNode* item) {
                            for (int f = 0; f < 50; ++f) {
                                tree.file(item, "file-" + std::to_string(f) + ".bin",
                                          static_cast<std::int64_t>(sizes(random)) + 1);
                            }
                        });
                    }
                });
            }
        });
    }
    std::printf("typical tree: %zu nodes\n", tree.count());
    return tree.finish();
}

// 1,200 equal folders, each a chain five deep ending in 600 files: every ring holds as many
// arcs as it can. Beside them a folder of 100,000 small files.
std::shared_ptr<const ScanResult> worstTree() {
    Tree tree;
    for (int a = 0; a < 1200; ++a) {
        tree.folder(tree.root(), "wide-" + std::to_string(a), [&](FileNode* top) {
            std::function<void(FileNode*, int)> chain = [&](FileNode* folder, int level) {
                if (level == depth) {
                    for (int f = 0; f < 600; ++f) {
                        tree.file(folder, "leaf-" + std::to_string(f), 600'000);
                    }
                    return;
                }
                tree.folder(folder, "level-" + std::to_string(level),
                            [&](FileNode* inner) { chain(inner, level + 1); });
            };
            chain(top, 1);
        });
    }
    tree.folder(tree.root(), "many", [&](FileNode* many) {
        for (int f = 0; f < 100'000; ++f) {
            tree.file(many, "small-" + std::to_string(99'999 - f) + ".dat",
                      524'288 + (f % 977) * 13);
        }
    });
    std::printf("worst tree: %zu nodes\n", tree.count());
    return tree.finish();
}

// The best of several rounds: wall time and this thread's processor time, which the load of
// other programs inflates less.
struct Timing {
    double wall = 1e9;
    double processor = 1e9;

    void add(Clock::time_point wallStart, double processorStart) {
        wall = std::min(
            wall, std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count());
        processor = std::min(processor, processorMilliseconds() - processorStart);
    }

    static double processorMilliseconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }
};

template <typename Work>
Timing timingOf(Work&& work) {
    Timing timing;
    for (int i = 0; i < rounds; ++i) {
        const auto wall = Clock::now();
        const double processor = Timing::processorMilliseconds();
        work();
        timing.add(wall, processor);
    }
    return timing;
}

void timeMap(const char* label, const FileNode& root) {
    for (const qreal ratio : {1.0, 2.0}) {
        std::size_t arcs = 0;
        const Timing layout =
            timingOf([&] { arcs = SunburstView::layoutArcs(root, depth).size(); });
        const auto laidOut = SunburstView::layoutArcs(root, depth);
        const Timing paint = timingOf([&] {
            const QImage image =
                SunburstView::drawArcs(laidOut, chartSize, depth, ratio, nullptr, Qt::white);
        });
        const QImage cached =
            SunburstView::drawArcs(laidOut, chartSize, depth, ratio, nullptr, Qt::white);
        QImage window(chartSize * ratio, QImage::Format_ARGB32_Premultiplied);
        window.setDevicePixelRatio(ratio);
        const Timing hover = timingOf([&] {
            QPainter painter(&window);
            painter.drawImage(QPointF(0, 0), cached);
        });
        std::printf("%s, ratio %.0f: %zu arcs, layout %.2f ms + paint %.2f ms = %.2f ms "
                    "(processor %.2f ms); repaint from the cached image %.2f ms\n",
                    label, ratio, arcs, layout.wall, paint.wall, layout.wall + paint.wall,
                    layout.processor + paint.processor, hover.wall);
    }
}

void timeSorts(const std::shared_ptr<const ScanResult>& scan, const FileNode& folder) {
    const Locations locations = Locations::inside("/bench-none");
    SystemWorkspace workspace(locations);
    const SafetyPolicy safety(locations, workspace);
    ExplorerModel model(safety);
    model.setFolder(scan, &folder);
    model.setNameRanks(
        std::make_shared<const NameRanks>(NameRanks::ofNames(NameRanks::namesOf(*scan))));
    // Each round starts from the other order, as a click on the other header does.
    Timing byName;
    Timing bySize;
    for (int i = 0; i < rounds; ++i) {
        auto wall = Clock::now();
        double processor = Timing::processorMilliseconds();
        model.sort(ExplorerModel::Name, Qt::AscendingOrder);
        byName.add(wall, processor);
        wall = Clock::now();
        processor = Timing::processorMilliseconds();
        model.sort(ExplorerModel::Size, Qt::DescendingOrder);
        bySize.add(wall, processor);
    }
    std::printf("sort of %zu children: by name %.2f ms (processor %.2f ms), by size %.2f ms "
                "(processor %.2f ms)\n",
                folder.children().size(), byName.wall, byName.processor, bySize.wall,
                bySize.processor);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const auto typical = typicalTree();
    timeMap("typical", *typical->root);
    const auto worst = worstTree();
    timeMap("worst, rings full", *worst->root);
    const FileNode* many = worst->root->children().back();
    timeMap("worst, 100,000 small files", *many);
    timeSorts(worst, *many);
    return 0;
}
