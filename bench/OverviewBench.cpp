// Times the overview page on a generated home-folder tree of about a million nodes, shown
// offscreen at a large window size: each figure the page derives from the scan on its own
// (the composition, the largest folders, the recommendations), then the whole page rebuilt
// for a newly published result (every card with its widgets, laid out), then a paint of the
// rebuilt page. Junk findings are set beforehand, so no junk search runs.
//
// Usage: dorvale_overview_bench [RUNS]
// Run the release build.

#include "GeneratedHome.hpp"
#include "ScratchHome.hpp"
#include "analysis/Composition.hpp"
#include "analysis/LargestFolders.hpp"
#include "analysis/OverviewView.hpp"
#include "app/AppState.hpp"
#include "shell/SystemServices.hpp"
#include "support/app/AppStateAccess.hpp"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace dorvale;

constexpr QSize windowSize{1600, 1000};

void measure(const char* label, std::int64_t packageFileSize, int runs, AppState& state,
             QWidget& window) {
    std::int64_t nodes = 0;
    const std::shared_ptr<ScanResult> scan =
        bench::generateHome(state.services().locations.home, packageFileSize, nodes);
    std::printf("%s: %lld nodes (%zu files)\n", label, static_cast<long long>(nodes),
                scan->files.size());
    test::AppStateAccess(state).setScan(scan, ScanTarget::home());
    QCoreApplication::processEvents();

    bench::printTimes("composition", runs, [&] { return Composition::of(state).entries.size(); });
    bench::printTimes("largestFolders", runs, [&] { return largestFolders(*scan->root).size(); });
    bench::printTimes("buildRecommendations", runs,
                      [&] { return state.buildRecommendations().size(); });
    // Each run publishes the result anew, as a finished scan does; the page drops its column
    // and builds the next one, laid out for the window.
    bench::printTimes("whole page rebuilt", runs, [&] {
        test::AppStateAccess(state).setScan(scan, ScanTarget::home());
        window.layout()->activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return window.findChildren<QWidget*>().size();
    });
    QImage image(windowSize, QImage::Format_ARGB32_Premultiplied);
    bench::printTimes("paint of the rebuilt page", runs, [&] {
        QPainter painter(&image);
        window.render(&painter);
        return std::size_t{1};
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bench::ScratchHome scratch;
    QApplication application(argc, argv);

    SystemServices system(Locations::fromEnvironment(), argv[0]);
    AppState state(system.services());
    test::AppStateAccess(state).setJunk(bench::generateJunk());
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new OverviewView(state));
    window.resize(windowSize);
    window.show();
    QCoreApplication::processEvents();

    // 2 × 50 files of 1 MB make a 100 MB dependency folder; of 190 KB, one of 19 MB.
    measure("dependency folders reported", 1'000'000, runs, state, window);
    measure("every folder entered", 190'000, runs, state, window);
    return 0;
}
