#include "app/QuitOnSignals.hpp"
#include "app/RunInBackground.hpp"
#include "app/WordingTranslator.hpp"
#include "platform/SessionBusProbe.hpp"
#include "platform/desktop/SingleInstance.hpp"
#include "platform/desktop/TrayWatch.hpp"
#include "shell/DorvaleApp.hpp"
#include "shell/SystemServices.hpp"

#include <QApplication>
#include <QFile>
#include <QSystemTrayIcon>

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

// How long a later launch tries to reach the running one, which may still be starting.
constexpr std::chrono::milliseconds handOverLimit{5000};

} // namespace

int main(int argc, char* argv[]) {
    // The toolkit itself connects to the session bus while it starts and waits on it without
    // end, so a bus that does not answer is set aside before the application object exists.
    dorvale::SessionBusProbe::disableWhenSilent(busProbeLimit);
    QApplication application(argc, argv);
    // The texts were written for another desktop; this one's words replace them, in the
    // core's texts and the toolkit's alike.
    const dorvale::WordingTranslator wording(dorvale::builtInWording());
    QApplication::setApplicationName(QStringLiteral("Dorvale"));
    QApplication::setApplicationVersion(QStringLiteral(DORVALE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.dorvale.Dorvale"));
    QApplication::setWindowIcon(dorvale::DorvaleApp::icon());
    // Ending the session or Ctrl+C quits as the menu does, so a running deletion is recorded.
    const dorvale::QuitOnSignals quitOnSignals;

    const dorvale::Locations locations = dorvale::Locations::fromEnvironment();
    // A later launch (the desktop entry, the autostart entry) shows the running one's window.
    dorvale::SingleInstance instance(dorvale::SingleInstance::defaultFolder(locations));
    if (!instance.isPrimary()) {
        (void)instance.activatePrimary(handOverLimit);
        return 0;
    }

    // The autostart entry starts this very executable, wherever it was installed.
    dorvale::SystemServices system(
        locations, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    dorvale::AppServices services = system.services();
    services.updater.start();
    // The toolkit's own tray check may wait on the tray's host; it is asked only where it cannot.
    dorvale::TrayWatch tray(system.sessionBus(), &QSystemTrayIcon::isSystemTrayAvailable);
    dorvale::DorvaleApp app(services, [&tray] { return tray.available(); });
    QObject::connect(&tray, &dorvale::TrayWatch::availabilityChanged, &app.menuBarExtra(),
                     &dorvale::MenuBarExtra::sync);
    app.answerLaterLaunches(instance);
    const int code = QApplication::exec();

    app.closeWindows();
    if (!dorvale::workerPool().waitForDone(poolDrainMilliseconds)) {
        std::quick_exit(code);
    }
    return code;
}
