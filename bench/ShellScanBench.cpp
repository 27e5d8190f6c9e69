// Runs a real scan of a folder through the application state with the main window shown on
// the offscreen platform, and reports how the window kept up: the longest time between two
// turns of its event loop, how many turns took longer than a frame (16 ms), and how often the
// progress was shown. The page shown is one with the scan prompt, so the scanning ring turns
// and the toolbar's progress line updates as they do for a user. The folder is scanned twice:
// the second result replaces the first tree, whose release is part of the second scan. Then a
// duplicate search runs over the result, timed the same way.
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
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

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
    bool longestGapWhileBusy = false;
    // How long the call that starts the work held the GUI thread.
    double startMs = 0;
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

// Times each turn of the event loop with a zero-interval timer, from `start` until it goes.
class LoopWatch {
public:
    // `busy` says whether the work being watched still runs, for the longest gap's record.
    LoopWatch(Figures& figures, std::function<bool()> busy)
        : m_figures(figures)
        , m_busy(std::move(busy)) {
        QObject::connect(&m_turn, &QTimer::timeout, [this] { turned(); });
    }

    void start() {
        m_clock.start();
        m_sinceTurn.start();
        m_cpuAtTurn = threadCpuMs();
        m_turn.start(0);
    }
    [[nodiscard]] double seconds() const {
        return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
    }
    // Runs on each turn, after the figures are taken.
    std::function<void()> onTurn;

private:
    void turned() {
        const double gap = static_cast<double>(m_sinceTurn.nsecsElapsed()) / 1e6;
        m_sinceTurn.start();
        const double cpuNow = threadCpuMs();
        const double cpu = cpuNow - m_cpuAtTurn;
        m_cpuAtTurn = cpuNow;
        m_figures.longestCpuMs = std::max(m_figures.longestCpuMs, cpu);
        ++m_figures.turns;
        if (gap > m_figures.longestGapMs) {
            m_figures.longestGapMs = gap;
            m_figures.longestGapAt = seconds();
            m_figures.longestGapWhileBusy = m_busy();
            m_figures.longestGapCpuMs = cpu;
        }
        m_figures.gapsOverFrame += gap > 16 ? 1 : 0;
        if (onTurn) {
            onTurn();
        }
    }

    Figures& m_figures;
    std::function<bool()> m_busy;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceTurn;
    double m_cpuAtTurn = 0;
    QTimer m_turn;
};

// Runs the loop until `done` turns true, then one more tenth of a second so that publishing
// the result counts too.
void runUntil(QObject& context, AppState* sender, auto signal, std::function<bool()> done) {
    QEventLoop loop;
    QObject::connect(sender, signal, &context, [&] {
        if (done()) {
            QTimer::singleShot(100, &loop, &QEventLoop::quit);
        }
    });
    loop.exec();
}

// One scan from start to result.
Figures scanOnce(AppState& state, RootView& root, const std::string& folder) {
    Figures figures;
    PaintCounter line(root.findChild<ElidedLabel*>(QStringLiteral("progressLine")));
    QObject context;
    QObject::connect(&state, &AppState::progressChanged, &context, [&] { ++figures.reports; });
    QString lastRingText;
    auto* ring = root.findChild<ScanningRing*>();
    LoopWatch watch(figures, [&state] { return state.isScanning(); });
    watch.onTurn = [&] {
        if (ring != nullptr && ring->progressText() != lastRingText) {
            lastRingText = ring->progressText();
            ++figures.ringTextChanges;
        }
    };
    watch.start();
    state.startScan(ScanTarget::folder(folder));
    runUntil(context, &state, &AppState::isScanningChanged,
             [&state] { return !state.isScanning(); });
    figures.seconds = watch.seconds();
    figures.files = state.scan() ? state.scan()->totalFiles : 0;
    figures.linePaints = line.paints;
    return figures;
}

// One duplicate search over the current scan, from its start on the GUI thread to its result.
Figures searchOnce(AppState& state) {
    Figures figures;
    QObject context;
    QObject::connect(&state, &AppState::duplicatesProgressChanged, &context,
                     [&] { ++figures.reports; });
    const auto searching = [&state] {
        return state.duplicatesProgress().has_value();
    };
    LoopWatch watch(figures, searching);
    watch.start();
    QElapsedTimer start;
    start.start();
    state.findDuplicates();
    figures.startMs = static_cast<double>(start.nsecsElapsed()) / 1e6;
    runUntil(context, &state, &AppState::duplicatesProgressChanged, [&] { return !searching(); });
    figures.seconds = watch.seconds();
    figures.files = state.scan() ? state.scan()->totalFiles : 0;
    return figures;
}

void print(const char* name, const Figures& f) {
    std::printf("%s: %lld files in %.2f s\n", name, static_cast<long long>(f.files), f.seconds);
    std::printf("  event loop: %d turns, longest gap %.1f ms (%.1f ms of it on the GUI thread's "
                "processor, ending at %.2f s, %s), %d gaps over 16 ms; most processor time in "
                "one gap %.1f ms\n",
                f.turns, f.longestGapMs, f.longestGapCpuMs, f.longestGapAt,
                f.longestGapWhileBusy ? "while working" : "after the result", f.gapsOverFrame,
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
    const Figures search = searchOnce(state);
    print("duplicate search", search);
    std::printf("  the search's start held the GUI thread %.1f ms\n", search.startMs);
    return state.scan() ? 0 : 1;
}
