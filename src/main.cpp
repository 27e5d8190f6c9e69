#include "app/AppState.hpp"
#include "app/RunInBackground.hpp"
#include "shell/RootView.hpp"
#include "shell/SystemServices.hpp"

#include <QApplication>
#include <QFile>

#include <cstdlib>
#include <memory>

namespace {

// Jobs that cannot be cancelled (a duplicate search) may still run when the window has gone;
// the stores are on disk by then, and tearing down the services under a running job would
// crash, so the process ends without it.
constexpr int poolDrainMilliseconds = 5000;

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvale"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.dorvale.Dorvale"));

    dorvale::SystemServices system(
        dorvale::Locations::fromEnvironment(),
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    auto state = std::make_unique<dorvale::AppState>(system.services());
    QObject::connect(&application, &QCoreApplication::aboutToQuit, state.get(),
                     &dorvale::AppState::prepareToQuit);

    auto window = std::make_unique<dorvale::RootView>(*state);
    window->setWindowTitle(QStringLiteral("Dorvale"));
    window->setMinimumSize(1040, 680);
    window->show();
    const int code = QApplication::exec();

    window.reset();
    if (!dorvale::workerPool().waitForDone(poolDrainMilliseconds)) {
        std::quick_exit(code);
    }
    state.reset();
    return code;
}
