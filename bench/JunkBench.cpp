// Times the junk screen over a full Trash: one finding of 100,000 items beside the other rules'
// findings, shown offscreen at a large window size. Each figure is what a user waits for:
// the list rebuilt for new findings, the Trash rule opened (only its first 300 items get
// rows), the rule ticked and unticked whole, one item ticked among 100,000 ticked (each tick
// with the selection bar's figures), and the "Clean Junk" plan of every item with its verdict.
//
// Usage: dorvale_junk_bench [RUNS]
// Run the release build.

#include "GeneratedHome.hpp"
#include "ScratchHome.hpp"
#include "app/AppState.hpp"
#include "cleanup/JunkModel.hpp"
#include "cleanup/JunkView.hpp"
#include "shell/SystemServices.hpp"
#include "support/app/AppStateAccess.hpp"
#include "widgets/SectionedList.hpp"

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
constexpr int trashItems = 100'000;

std::vector<JunkFinding> fullTrash() {
    std::vector<JunkFinding> junk = bench::generateJunk();
    for (JunkFinding& finding : junk) {
        if (finding.rule.id != "trash") {
            continue;
        }
        finding.items.clear();
        for (int i = 0; i < trashItems; ++i) {
            finding.items.push_back(JunkItem{.id = "/junk/trash/item-" + std::to_string(i),
                                             .ruleID = "trash",
                                             .size = 4'096 + i,
                                             .fileCount = 1});
        }
    }
    return junk;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const bench::ScratchHome scratch;
    QApplication application(argc, argv);

    SystemServices system(Locations::fromEnvironment(), argv[0]);
    AppState state(system.services());
    const std::vector<JunkFinding> junk = fullTrash();
    // Findings are there before the screen, so it starts no search of its own.
    test::AppStateAccess(state).setJunk(junk);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new JunkView(state);
    layout->addWidget(view);
    window.resize(windowSize);
    window.show();
    settle();
    JunkModel& model = *view->model();
    SectionedList& list = *view->list();
    std::printf("junk: %zu findings, the Trash with %d items\n", junk.size(), trashItems);

    // The state announces new findings; what the screen does with them is timed, not the
    // state's copy of them.
    bench::printTimes("new findings listed", runs, [&] {
        emit state.junkChanged();
        settle();
        return static_cast<std::size_t>(model.rowCount());
    });
    bench::printTimes("Trash rule opened", runs, [&] {
        const QModelIndex trash = model.ruleIndex("trash");
        list.collapse(trash);
        emit state.junkChanged();
        list.expand(model.ruleIndex("trash"));
        settle();
        return static_cast<std::size_t>(model.rowCount(model.ruleIndex("trash")));
    });
    const QModelIndex trash = model.ruleIndex("trash");
    bench::printTimes("Trash rule ticked, then unticked", runs, [&] {
        model.setData(trash, Qt::Checked, Qt::CheckStateRole);
        const auto ticked = static_cast<std::size_t>(model.selection().count());
        model.setData(trash, Qt::Unchecked, Qt::CheckStateRole);
        return ticked;
    });
    model.setData(trash, Qt::Checked, Qt::CheckStateRole);
    const QModelIndex first = model.index(0, 0, trash);
    bench::printTimes("one item unticked and ticked", runs, [&] {
        model.setData(first, Qt::Unchecked, Qt::CheckStateRole);
        model.setData(first, Qt::Checked, Qt::CheckStateRole);
        return static_cast<std::size_t>(model.selection().count());
    });
    bench::printTimes("findings listed with all ticked", runs, [&] {
        emit state.junkChanged();
        settle();
        return static_cast<std::size_t>(model.selection().count());
    });
    QImage image(windowSize, QImage::Format_ARGB32_Premultiplied);
    list.expand(model.ruleIndex("trash"));
    settle();
    bench::printTimes("paint with the Trash open", runs, [&] {
        QPainter painter(&image);
        window.render(&painter);
        return std::size_t{1};
    });
    // The plan with a verdict for every item, published for the confirmation sheet.
    bench::printTimes("Clean Junk plan of 100,000", std::min(runs, 3), [&] {
        view->cleanSelection();
        return state.plan()->items.size();
    });
    return 0;
}
