#include "support/app/AppFixture.hpp"

#include "app/RunInBackground.hpp"
#include "model/DeletionHistory.hpp"

#include <QCoreApplication>

namespace dorvale::test {

AppFixture::AppFixture()
    : locations(Locations::inside(tree.root()))
    , safety(locations, workspace)
    , trash(locations, clock)
    , deletionEngine(safety, trash, clock) {
    tree.folder("Users/a");
}

AppFixture::~AppFixture() {
    scans.close();
    workerPool().waitForDone();
    // Results of jobs whose state is gone are dropped here rather than in a later test.
    QCoreApplication::sendPostedEvents();
}

AppServices AppFixture::services() {
    return services(settings);
}

AppServices AppFixture::services(Settings& otherSettings) {
    AppServices result{
        .locations = locations,
        .settings = otherSettings,
        .clock = clock,
        .workspace = workspace,
        .processes = processes,
        .administrator = administrator,
        .safety = safety,
        .deletionEngine = deletionEngine,
        .historyFile = DeletionHistory::defaultLocation(locations),
        .notifier = notifier,
        .loginItems = loginItems,
        .updater = updater,
        .fileDialogs = fileDialogs,
    };
    result.readVolume = [this](const std::string&) {
        return volume;
    };
    result.hasFullDiskAccess = [this](const Locations&) {
        return fullDiskAccess.load();
    };
    return result;
}

} // namespace dorvale::test
