// Times the large-files and file-type screens on a generated home-folder tree of about a
// million nodes: the files model built over every file, a sort by each column, the filter
// passes (a name query, a query with "/", a folder prefix, a kind switch) alone and as the
// screen takes them, the first paint of the table, a repaint after a reset, and the CSV export
// of every file with the peak memory it adds. Each figure gives the wall time and the calling
// thread's processor time; work that other threads share in shows in the process time too.
//
// Usage: dorvale_files_bench [RUNS]
// Run the release build; the window is drawn offscreen.

#include "GeneratedHome.hpp"
#include "ScratchHome.hpp"
#include "analysis/FileListing.hpp"
#include "analysis/FilesCSV.hpp"
#include "analysis/FilesModel.hpp"
#include "analysis/FilesTable.hpp"
#include "analysis/LargeFilesView.hpp"
#include "analysis/TypesView.hpp"
#include "app/AppState.hpp"
#include "shell/SystemServices.hpp"
#include "support/app/AppStateAccess.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/NameRanks.hpp"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QTableView>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace dorvale;

constexpr QSize windowSize{1400, 900};

double processMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs `prepare` untimed, then `work` timed, `runs` times; prints the medians of the wall,
// thread and process times, with the least and greatest wall time.
void measure(const char* what, int runs, const std::function<void()>& prepare,
             const std::function<std::size_t()>& work) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> wall;
    std::vector<double> thread;
    std::vector<double> process;
    std::size_t count = 0;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const double threadStart = bench::threadMilliseconds();
        const double processStart = processMilliseconds();
        const auto start = Clock::now();
        count = work();
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        thread.push_back(bench::threadMilliseconds() - threadStart);
        process.push_back(processMilliseconds() - processStart);
    }
    std::printf("  %-38s wall %8.2f ms (min %8.2f, max %8.2f), thread %8.2f ms, process "
                "%8.2f ms  [%zu]\n",
                what, median(wall), *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()), median(thread), median(process),
                count);
}

void measure(const char* what, int runs, const std::function<std::size_t()>& work) {
    measure(
        what, runs, [] {}, work);
}

// A field of /proc/self/status in kB, such as "VmRSS" or "VmHWM".
long statusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return -1;
}

// Sets the peak resident size back to the current one, so the next peak is the work's own.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

QString columnTitle(const FilesModel& model, int column) {
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

void timeModel(const std::shared_ptr<const ScanResult>& scan, AppState& state, int runs) {
    std::printf("files model over all %zu files\n", scan->files.size());
    const AppServices& services = state.services();
    measure("model built (sorted by size)", runs, [&] {
        FilesModel model(services.safety, services.locations, services.clock);
        model.setNodes(scan, scan->files);
        return std::size_t(model.rowCount());
    });
    FilesModel model(services.safety, services.locations, services.clock);
    model.setNodes(scan, scan->files);
    measure("name ranks (once per scan, pool)", std::min(runs, 3), [&] {
        model.setNameRanks(
            std::make_shared<const NameRanks>(NameRanks::ofNames(NameRanks::namesOf(*scan))));
        return std::size_t{1};
    });
    for (int column = FilesModel::Name; column < FilesModel::Risk; ++column) {
        // Each run starts from another order, as a click on another header does.
        const int other = column == FilesModel::Size ? FilesModel::Modified : FilesModel::Size;
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const std::string what = "sort by " + columnTitle(model, column).toStdString() +
                                     (order == Qt::AscendingOrder ? ", ascending" : ", descending");
            measure(
                what.c_str(), runs, [&] { model.sort(other, Qt::DescendingOrder); },
                [&] {
                    model.sort(column, order);
                    return std::size_t(model.rowCount());
                });
        }
    }
}

struct Pass {
    const char* what;
    FileFilter filter;
    std::optional<FileKind> kind;
};

void timePasses(const std::shared_ptr<const ScanResult>& scan, AppState& state, int runs) {
    const std::string& home = state.services().locations.home;
    const std::string_view dataVolume = state.services().locations.dataVolume;
    const std::vector<Pass> passes = {
        {"no filter", {}, {}},
        {"name \"clip-1\"", {.query = "clip-1"}, {}},
        {"name \"CLIP-1\" (case folded)", {.query = "CLIP-1"}, {}},
        {"path \"node_modules/package-1\"", {.query = "node_modules/package-1"}, {}},
        {"path \"t-49/b\" (across the name)", {.query = "t-49/b"}, {}},
        {"folder prefix code/project-25", {.pathPrefix = home + "/code/project-25"}, {}},
        {"folder prefix and > 1 MB", {.minSize = 1'000'000, .pathPrefix = home + "/code"}, {}},
        {"kind Video", {}, FileKind::Video},
        {"kind Code", {}, FileKind::Code},
        {"kind Code, name \"bundle\"", {.query = "bundle"}, FileKind::Code},
    };
    std::printf("filter passes over the scan's files\n");
    measure("files by kind (once per screen)", runs,
            [&] { return FileListing::byKind(*scan).size(); });
    const FileListing::KindLists byKind = FileListing::byKind(*scan);
    for (const Pass& pass : passes) {
        const std::span<const FileNode* const> files =
            pass.kind ? std::span(byKind[static_cast<std::size_t>(*pass.kind)])
                      : std::span(scan->files);
        measure(pass.what, runs, [&] {
            return FileListing::of(files, pass.filter, bench::generatedNow, dataVolume)
                .nodes.size();
        });
    }
}

void timeScreens(const std::shared_ptr<const ScanResult>& scan, AppState& state, int runs) {
    const std::string& home = state.services().locations.home;
    std::printf("large & old screen\n");
    QWidget window;
    window.resize(windowSize);
    auto* view = new LargeFilesView(state, scan, {}, &window);
    view->resize(windowSize);
    window.show();
    QTableView& table = view->table().table();
    measure("first paint of every file", 1, [&] {
        (void)table.grab();
        return std::size_t(table.model()->rowCount());
    });
    measure("repaint", runs, [&] {
        (void)table.grab();
        return std::size_t{1};
    });
    const std::vector<const FileNode*> all = scan->files;
    std::vector<const FileNode*> most(all.begin() + 1, all.end());
    bool flip = false;
    measure(
        "reset to another list", runs,
        [&] {
            flip = !flip;
            view->table().setNodes(scan, flip ? most : all);
        },
        [&] {
            view->table().setNodes(scan, flip ? all : most);
            return std::size_t(table.model()->rowCount());
        });
    measure(
        "repaint after a reset", runs,
        [&] {
            flip = !flip;
            view->table().setNodes(scan, flip ? most : all);
        },
        [&] {
            (void)table.grab();
            return std::size_t{1};
        });
    const std::vector<std::pair<const char*, FileFilter>> filters = {
        {"name \"clip-1\"", {.query = "clip-1"}},
        {"path \"node_modules/package-1\"", {.query = "node_modules/package-1"}},
        {"folder prefix code/project-25", {.pathPrefix = home + "/code/project-25"}},
    };
    for (const auto& [what, filter] : filters) {
        const std::string label = std::string("screen: ") + what;
        measure(
            label.c_str(), runs, [&] { state.setLargeFilter({}); },
            [&] {
                state.setLargeFilter(filter);
                return view->listing().nodes.size();
            });
        const std::string cleared = std::string("screen: ") + what + " cleared";
        measure(
            cleared.c_str(), runs, [&] { state.setLargeFilter(filter); },
            [&] {
                state.setLargeFilter({});
                return view->listing().nodes.size();
            });
    }
    state.setLargeFilter({});

    std::printf("by type screen\n");
    auto* types = new TypesView(state, scan, {}, &window);
    types->resize(windowSize);
    view->hide();
    types->show();
    for (const FileKind kind : {FileKind::Video, FileKind::Code, FileKind::Archive}) {
        const std::string label = "kind switch to " + std::string(title(kind));
        measure(
            label.c_str(), runs,
            [&] { types->setKind(kind == FileKind::Other ? FileKind::Video : FileKind::Other); },
            [&] {
                types->setKind(kind);
                return types->listing().nodes.size();
            });
    }
    measure(
        "repaint after a kind switch", runs,
        [&] { types->setKind(types->kind() == FileKind::Code ? FileKind::Video : FileKind::Code); },
        [&] {
            (void)types->table().table().grab();
            return std::size_t{1};
        });
}

void timeExport(const std::shared_ptr<const ScanResult>& scan, AppState& state, int runs) {
    std::printf("CSV export of every file\n");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("files.csv"));
    const std::string_view dataVolume = state.services().locations.dataVolume;
    long peak = 0;
    long before = 0;
    measure(
        "written through a save file", runs,
        [&] {
            before = statusKilobytes("VmRSS");
            resetPeak();
        },
        [&] {
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || !writeCsv(scan->files, dataVolume, file) ||
                !file.commit()) {
                std::fprintf(stderr, "export failed\n");
            }
            peak = std::max(peak, statusKilobytes("VmHWM") - before);
            return std::size_t(QFile(path).size());
        });
    std::printf("  peak resident memory added by the export: %.1f MB\n",
                static_cast<double>(peak) / 1024);
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bench::ScratchHome scratch;
    QApplication application(argc, argv);

    SystemServices system(Locations::fromEnvironment(), argv[0]);
    AppState state(system.services());
    std::int64_t nodes = 0;
    // Dependency files of 600 KB, so every file of the tree has a node, as a scan gives it.
    const std::shared_ptr<ScanResult> scan =
        bench::generateHome(state.services().locations.home, 600'000, nodes);
    std::printf("%lld nodes, %zu files\n", static_cast<long long>(nodes), scan->files.size());
    test::AppStateAccess(state).setScan(scan, ScanTarget::home());
    QCoreApplication::processEvents();

    timeModel(scan, state, runs);
    timePasses(scan, state, runs);
    timeScreens(scan, state, runs);
    timeExport(scan, state, std::min(runs, 3));
    return 0;
}
