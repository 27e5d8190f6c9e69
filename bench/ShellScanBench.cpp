// Runs a real scan of a folder through the application state with the main window shown on
// the offscreen platform, and reports how the window kept up: the longest time between two
// turns of its event loop, how many turns took longer than a frame (16 ms), and how often the
// progress was shown. The page shown is one with the scan prompt, so the scanning ring turns
// and the toolbar's progress line updates as they do for a user. The folder is scanned twice:
// the second result replaces the first tree, whose release is part of the second scan.
//
// Usage: dorvale_shell_scan_bench <folder>
// Build a folder with dorvale_scan_tree; run the release build.

#include "app/AppState.hpp"
#include "shell/RootView.hpp"
#include "shell/SystemServices.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/ScanningRing.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace dorvale;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Figures {
    double seconds = 0;
    std::int64_t files = 0;
    double longestGapMs = 0;
    // When the longest gap ended, in seconds from the start, and whether the scan still ran.
    double longestGapAt = 0;
    bool longestGapWhileScanning = false;
    // The GUI thread's own processor time in the longest gap, and the most it spent in any
    // one gap: a long gap with little of it is the thread waiting to be scheduled, not work.
    double longestGapCpuMs = 0;
    double longestCpuMs = 0;
    int gapsOverFrame = 0;
    int turns = 0;
    int reports = 0;
    int linePaints = 0;
    int ringTextChanges = 0;
};

// One scan from start to result, with a zero-interval timer timing each turn of the loop.
Figures scanOnce(AppState& state, RootView& root, const std::string& folder) {
    Figures figures;
    PaintCounter line(root.findChild<ElidedLabel*>(QStringLiteral("progressLine")));
    QObject context;
    QObject::connect(&state, &AppState::progressChanged, &context, [&] { ++figures.reports; });
    QString lastRingText;
    auto* ring = root.findChild<ScanningRing*>();
    QElapsedTimer clock;
    QElapsedTimer sinceTurn;
    double cpuAtTurn = threadCpuMs();
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, &context, [&] {
        const double gap = static_cast<double>(sinceTurn.nsecsElapsed()) / 1e6;
        sinceTurn.start();
        const double cpuNow = threadCpuMs();
        const double cpu = cpuNow - cpuAtTurn;
        cpuAtTurn = cpuNow;
        figures.longestCpuMs = std::max(figures.longestCpuMs, cpu);
        ++figures.turns;
        if (gap > figures.longestGapMs) {
            figures.longestGapMs = gap;
            figures.longestGapAt = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            figures.longestGapWhileScanning = state.isScanning();
            figures.longestGapCpuMs = cpu;
        }
        figures.gapsOverFrame += gap > 16 ? 1 : 0;
        if (ring != nullptr && ring->progressText() != lastRingText) {
            lastRingText = ring->progressText();
            ++figures.ringTextChanges;
        }
    });
    QEventLoop loop;
    QObject::connect(&state, &AppState::isScanningChanged, &context, [&] {
        if (!state.isScanning()) {
            // A last turn after the result, so its publishing counts too.
            QTimer::singleShot(100, &loop, &QEventLoop::quit);
        }
    });
    clock.start();
    sinceTurn.start();
    turn.start(0);
    state.startScan(ScanTarget::folder(folder));
    loop.exec();
    figures.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    figures.files = state.scan() ? state.scan()->totalFiles : 0;
    figures.linePaints = line.paints;
    return figures;
}

void print(const char* name, const Figures& f) {
    std::printf("%s: %lld files in %.2f s\n", name, static_cast<long long>(f.files), f.seconds);
    std::printf("  event loop: %d turns, longest gap %.1f ms (%.1f ms of it on the GUI thread's "
                "processor, ending at %.2f s, %s), %d gaps over 16 ms; most processor time in "
                "one gap %.1f ms\n",
                f.turns, f.longestGapMs, f.longestGapCpuMs, f.longestGapAt,
                f.longestGapWhileScanning ? "while scanning" : "after the result", f.gapsOverFrame,
                f.longestCpuMs);
    std::printf("  progress: %.1f reports/s, toolbar line %.1f repaints/s, ring text %.1f "
                "changes/s\n",
                f.reports / f.seconds, f.linePaints / f.seconds, f.ringTextChanges / f.seconds);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: dorvale_shell_scan_bench <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Settings and history of a scratch home, so the user's own stay untouched.
    QTemporaryDir scratch;
    setenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path() + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", QFile::encodeName(scratch.path() + "/data").constData(), 1);
    QApplication application(argc, argv);

    const std::string folder = argv[1];
    SystemServices system(Locations::fromEnvironment(), argv[0]);
    AppState state(system.services());
    state.setSection(AppSection::Overview);
    RootView root(state);
    root.resize(1040, 680);
    root.show();
    QCoreApplication::processEvents();

    print("first scan", scanOnce(state, root, folder));
    print("second scan (releases the first tree)", scanOnce(state, root, folder));
    return state.scan() ? 0 : 1;
}
