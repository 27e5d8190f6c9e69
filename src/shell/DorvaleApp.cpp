#include "shell/DorvaleApp.hpp"

#include "app/AppState.hpp"
#include "platform/desktop/SingleInstance.hpp"
#include "shell/MainWindow.hpp"
#include "shell/settings/SettingsWindow.hpp"
#include "style/Symbols.hpp"

#include <QApplication>

#include <algorithm>

namespace dorvale {

namespace {

constexpr auto iconName = "app.dorvale.Dorvale";

// Whether a window the user can reach is open; pop-ups and tool tips do not count.
bool anyWindowOpen() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        const Qt::WindowType type = window->windowType();
        return window->isVisible() && (type == Qt::Window || type == Qt::Dialog);
    });
}

} // namespace

DorvaleApp::DorvaleApp(AppServices services, MenuBarExtra::TrayProbe trayAvailable, QObject* parent)
    : QObject(parent)
    , m_state(std::make_unique<AppState>(std::move(services))) {
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_state.get(),
            &AppState::prepareToQuit);
    openMainWindow();
    m_menuBarExtra = std::make_unique<MenuBarExtra>(*m_state, std::move(trayAvailable));
    connect(m_menuBarExtra.get(), &MenuBarExtra::shownChanged, this, &DorvaleApp::followTray);
    connect(m_menuBarExtra.get(), &MenuBarExtra::openRequested, this, &DorvaleApp::openMainWindow);
    connect(m_menuBarExtra.get(), &MenuBarExtra::quitRequested, this, &DorvaleApp::quit);
    followTray(m_menuBarExtra->isShown());
}

DorvaleApp::~DorvaleApp() {
    closeWindows();
}

QIcon DorvaleApp::icon() {
    Symbols::prepareIconTheme();
    return QIcon::fromTheme(QString::fromLatin1(iconName),
                            QIcon(QStringLiteral(":/app/%1.svg").arg(QLatin1String(iconName))));
}

MainWindow* DorvaleApp::mainWindow() const {
    return m_mainWindow;
}

void DorvaleApp::openMainWindow() {
    if (m_mainWindow == nullptr) {
        m_mainWindow = new MainWindow(*m_state);
        connect(m_mainWindow, &MainWindow::settingsRequested, this, &DorvaleApp::showSettings);
        connect(m_mainWindow, &MainWindow::quitRequested, this, &DorvaleApp::quit);
    }
    if (m_mainWindow->isMinimized()) {
        m_mainWindow->showNormal();
    }
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void DorvaleApp::answerLaterLaunches(SingleInstance& instance) {
    instance.setActivationHandler([this] { openMainWindow(); });
}

void DorvaleApp::showSettings() {
    if (m_settingsWindow == nullptr) {
        m_settingsWindow = std::make_unique<SettingsWindow>(*m_state);
    }
    m_settingsWindow->present();
}

void DorvaleApp::quit() {
    QCoreApplication::quit();
}

void DorvaleApp::closeWindows() {
    delete m_mainWindow;
    m_settingsWindow.reset();
    m_menuBarExtra.reset();
}

// Without the tray icon nothing would be left to reach the program by once its windows are
// closed.
void DorvaleApp::followTray(bool shown) {
    QApplication::setQuitOnLastWindowClosed(!shown);
    if (!shown && !anyWindowOpen()) {
        quit();
    }
}

} // namespace dorvale
