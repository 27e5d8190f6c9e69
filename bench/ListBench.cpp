// Times the list kit on a generated tree of a million file nodes: ranking the names once
// per scan, sorting a files list by size, name, date and kind, mirroring a selection of
// every row after a sort, and painting a table of every file at a fixed row height first
// and again after a reset. Run the release build; the window is drawn offscreen.
//
// Usage: dorvale_list_bench [RUNS]

#include "GeneratedTree.hpp"
#include "model/FileNode.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/KeySelection.hpp"
#include "widgets/KeyedRowsModel.hpp"
#include "widgets/ListRoles.hpp"
#include "widgets/NameRanks.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QTableView>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using namespace dorvale;
using SteadyClock = std::chrono::steady_clock;

constexpr Timestamp now = 1'700'000'000;
constexpr int folders = 1'000;
constexpr int filesPerFolder = 1'000;

struct Style {
    const char* prefix;
    const char* extension;
    FileKind kind;
};

constexpr Style styles[] = {
    {"IMG_", ".jpg", FileKind::Image},           {"Document ", ".pdf", FileKind::Document},
    {"Track ", ".m4a", FileKind::Audio},         {"Clip ", ".mov", FileKind::Video},
    {"module-", ".ts", FileKind::Code},          {"backup-", ".zip", FileKind::Archive},
    {"Installer ", ".iso", FileKind::DiskImage}, {"data_", ".bin", FileKind::Other},
};

std::shared_ptr<const ScanResult> makeTree() {
    GeneratedTree tree{"/home/u", now};
    std::mt19937_64 random(42);
    std::lognormal_distribution<double> sizes(13.5, 1.5);
    std::uniform_int_distribution<int> days(0, 2'000);
    for (int f = 0; f < folders; ++f) {
        const Style& style = styles[static_cast<std::size_t>(f) % std::size(styles)];
        tree.open("Folder " + std::to_string(f));
        for (int i = 0; i < filesPerFolder; ++i) {
            const Style& own =
                i % 5 == 0 ? styles[static_cast<std::size_t>(i) % std::size(styles)] : style;
            tree.file(std::string(own.prefix) + std::to_string(random() % 100'000) + own.extension,
                      static_cast<std::int64_t>(sizes(random)) + 524'288,
                      now - days(random) * secondsPerDay, own.kind);
        }
        tree.close();
    }
    return tree.finish();
}

enum Column { Name, Size, Modified, Kind };

// The files table of a scan, as a screen would declare it.
class FilesModel final : public KeyedRowsModel<const FileNode*, const FileNode*> {
public:
    FilesModel(std::shared_ptr<const ScanResult> scan, std::shared_ptr<const NameRanks> ranks)
        : KeyedRowsModel({{QStringLiteral("Name")},
                          {QStringLiteral("Size"), true, Qt::AlignRight | Qt::AlignVCenter},
                          {QStringLiteral("Modified")},
                          {QStringLiteral("Kind")}})
        , m_scan(std::move(scan))
        , m_ranks(std::move(ranks)) {}

    void rebuild() {
        m_largest = 0;
        for (const FileNode* node : m_scan->files) {
            m_largest = std::max(m_largest, node->size());
        }
        setRows(m_scan->files);
    }

protected:
    const FileNode* keyOf(const FileNode* const& node) const override { return node; }

    std::vector<std::int64_t> sortKeys(int column) const override {
        std::vector<std::int64_t> keys;
        keys.reserve(rows().size());
        for (const FileNode* node : rows()) {
            switch (column) {
            case Name:
                keys.push_back(m_ranks->rankOf(node));
                break;
            case Size:
                keys.push_back(node->size());
                break;
            case Modified:
                keys.push_back(static_cast<std::int64_t>(node->modified()));
                break;
            default:
                keys.push_back(static_cast<std::int64_t>(node->kind()));
            }
        }
        return keys;
    }

    QVariant cellData(std::size_t index, int column, int role) const override {
        const FileNode* node = source(index);
        if (column == Size) {
            switch (role) {
            case SizeRole:
                return QVariant::fromValue(node->size());
            case LargestSizeRole:
                return QVariant::fromValue(m_largest);
            default:
                return {};
            }
        }
        if (role != Qt::DisplayRole) {
            return {};
        }
        switch (column) {
        case Name:
            return QString::fromUtf8(node->name().data(),
                                     static_cast<qsizetype>(node->name().size()));
        case Modified:
            return static_cast<qint64>(node->modified());
        default:
            return static_cast<int>(node->kind());
        }
    }

private:
    std::shared_ptr<const ScanResult> m_scan;
    std::shared_ptr<const NameRanks> m_ranks;
    std::int64_t m_largest = 0;
};

double processorMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Prints the median, least and greatest wall time of `runs` runs of `work`, each after an
// untimed `prepare`, and the median processor time of the calling thread and of the whole
// process (which counts the pool's threads too): on a busy machine the wall time includes
// waiting to be scheduled.
template <typename Prepare, typename Work>
void timeAfter(const char* what, int runs, Prepare prepare, Work work) {
    std::vector<double> wall;
    std::vector<double> thread;
    std::vector<double> process;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = SteadyClock::now();
        const double threadStart = processorMilliseconds(CLOCK_THREAD_CPUTIME_ID);
        const double processStart = processorMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
        work();
        process.push_back(processorMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - processStart);
        thread.push_back(processorMilliseconds(CLOCK_THREAD_CPUTIME_ID) - threadStart);
        wall.push_back(
            std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count());
    }
    const auto median = [](std::vector<double>& values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double wallMedian = median(wall);
    std::printf("  %-36s median %7.2f ms, min %7.2f ms, max %7.2f ms; processor: thread %7.2f "
                "ms, process %7.2f ms\n",
                what, wallMedian, wall.front(), wall.back(), median(thread), median(process));
}

template <typename Work>
void time(const char* what, int runs, Work work) {
    timeAfter(
        what, runs, [] {}, work);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    const auto built = SteadyClock::now();
    const std::shared_ptr<const ScanResult> scan = makeTree();
    std::printf("%zu file nodes, generated in %.2f s\n", scan->files.size(),
                std::chrono::duration<double>(SteadyClock::now() - built).count());

    std::shared_ptr<const NameRanks> ranks;
    NameRanks::Names names;
    time("names taken (GUI thread)", runs, [&] { names = NameRanks::namesOf(*scan); });
    time("name ranks (pool)", runs,
         [&] { ranks = std::make_shared<const NameRanks>(NameRanks::ofNames(names)); });

    FilesModel model(scan, ranks);
    model.rebuild();
    time("sort by size, descending", runs, [&] { model.sort(Size, Qt::DescendingOrder); });
    time("sort by name rank", runs, [&] { model.sort(Name, Qt::AscendingOrder); });
    time("sort by date, descending", runs, [&] { model.sort(Modified, Qt::DescendingOrder); });
    time("sort by kind", runs, [&] { model.sort(Kind, Qt::AscendingOrder); });

    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(NameDelegate::rowHeight(view.font()));
    view.verticalHeader()->hide();
    view.setItemDelegateForColumn(Size, new SizeBarDelegate(&view));
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(1200, 800);
    auto* selection =
        new KeySelection<const FileNode*, const FileNode*>(model, *view.selectionModel());
    selection->setKeys({scan->files.begin(), scan->files.end()});
    time("select all, mirrored after a sort", runs, [&] {
        model.sort(Size, Qt::AscendingOrder);
        selection->mirror();
    });
    time("  of which the mirroring", runs, [&] { selection->mirror(); });
    selection->clear();

    view.show();
    time("first paint of 1,000,000 rows", 1, [&] { (void)view.grab(); });
    time("repaint after a reset", runs, [&] {
        model.rebuild();
        (void)view.grab();
    });
    timeAfter(
        "  of which the repaint", runs, [&] { model.rebuild(); }, [&] { (void)view.grab(); });
    return 0;
}
