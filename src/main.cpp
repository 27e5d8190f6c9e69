#include "app/QuitOnSignals.hpp"
#include "app/RunInBackground.hpp"
#include "platform/SessionBusProbe.hpp"
#include "shell/DorvaleApp.hpp"
#include "shell/SystemServices.hpp"

#include <QApplication>
#include <QFile>

#include <chrono>
#include <cstdlib>

namespace {

// Jobs that cannot be cancelled (a duplicate search) may still run when the windows have
// gone; the stores are on disk by then, and tearing down the services under a running job
// would crash, so the process ends without it.
constexpr int poolDrainMilliseconds = 5000;

// Long enough for a bus under load to answer its first line, short enough that a start on a
// bus that never answers still shows the window within a few seconds.
constexpr std::chrono::milliseconds busProbeLimit{1500};

} // namespace

int main(int argc, char* argv[]) {
    // The toolkit itself connects to the session bus while it starts and waits on it without
    // end, so a bus that does not answer is set aside before the application object exists.
    dorvale::SessionBusProbe::disableWhenSilent(busProbeLimit);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvale"));
    QApplication::setApplicationVersion(QStringLiteral(DORVALE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.dorvale.Dorvale"));
    QApplication::setWindowIcon(dorvale::DorvaleApp::icon());
    // Ending the session or Ctrl+C quits as the menu does, so a running deletion is recorded.
    const dorvale::QuitOnSignals quitOnSignals;

    // The autostart entry starts this very executable, wherever it was installed.
    dorvale::SystemServices system(
        dorvale::Locations::fromEnvironment(),
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    dorvale::AppServices services = system.services();
    services.updater.start();
    dorvale::DorvaleApp app(services);
    const int code = QApplication::exec();

    app.closeWindows();
    if (!dorvale::workerPool().waitForDone(poolDrainMilliseconds)) {
        std::quick_exit(code);
    }
    return code;
}
