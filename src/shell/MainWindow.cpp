#include "shell/MainWindow.hpp"

#include "app/AppState.hpp"
#include "shell/AboutDialog.hpp"
#include "shell/RootView.hpp"
#include "shell/ScanToolbar.hpp"

#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace dorvale {

namespace {

constexpr QSize minimumContent(1040, 680);

QAction* addCommand(QMenu& menu, const QString& text, const char* name,
                    const QKeySequence& shortcut = {}) {
    QAction* action = menu.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_root(new RootView(state)) {
    setObjectName(QStringLiteral("mainWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Dorvale"));
    setCentralWidget(m_root);
    makeApplicationMenu();
    makeScanMenu();
    fitMinimumToScreen();
    // F10 opens the first menu, as it does in the desktop's own programs; Alt and the
    // underlined letters work through the menu bar itself.
    auto* openMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenus, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
}

void MainWindow::makeApplicationMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Dorvale"));
    menu->setObjectName(QStringLiteral("applicationMenu"));
    connect(addCommand(*menu, tr("&About Dorvale"), "aboutAction"), &QAction::triggered, this,
            &MainWindow::showAbout);
    connect(addCommand(*menu, tr("Check for &Updates…"), "checkForUpdatesAction"),
            &QAction::triggered, this, &MainWindow::checkForUpdates);
    menu->addSeparator();
    connect(addCommand(*menu, tr("&Settings…"), "settingsAction",
                       QKeySequence(Qt::CTRL | Qt::Key_Comma)),
            &QAction::triggered, this, &MainWindow::settingsRequested);
    menu->addSeparator();
    connect(
        addCommand(*menu, tr("&Quit Dorvale"), "quitAction", QKeySequence(Qt::CTRL | Qt::Key_Q)),
        &QAction::triggered, this, &MainWindow::quitRequested);
}

void MainWindow::makeScanMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Scan"));
    menu->setObjectName(QStringLiteral("scanMenu"));
    connect(addCommand(*menu, tr("Scan &Entire Disk"), "scanEntireDiskAction",
                       QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, [this] { m_state.startScan(ScanTarget::wholeDisk()); });
    connect(addCommand(*menu, tr("Scan &Home Folder"), "scanHomeFolderAction",
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)),
            &QAction::triggered, this, [this] { m_state.startScan(ScanTarget::home()); });
    connect(addCommand(*menu, tr("Scan &Folder…"), "scanFolderAction",
                       QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, m_root->scanToolbar(), &ScanToolbar::chooseFolder);
    menu->addSeparator();
    connect(addCommand(*menu, tr("&Quick Clean"), "quickCleanAction",
                       QKeySequence(Qt::CTRL | Qt::Key_1)),
            &QAction::triggered, this, [this] { m_state.setSection(AppSection::SmartClean); });
}

QMessageBox* MainWindow::message(const QString& name) {
    auto* box = new QMessageBox(this);
    box->setObjectName(name);
    box->setWindowTitle(QStringLiteral("Dorvale"));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void MainWindow::checkForUpdates() {
    QMessageBox* box = message(QStringLiteral("updatesMessage"));
    box->setIcon(QMessageBox::Information);
    box->setText(QString::fromStdString(m_state.services().updater.checkForUpdates()));
    box->open();
}

void MainWindow::showAbout() {
    (new AboutDialog(this))->open();
}

// Each window starts the services when it first shows; they replace their timer, so closing
// and reopening the window never adds one.
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_started) {
        m_started = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::followScreen);
        followScreen(windowHandle()->screen());
        m_state.background().start();
    }
}

// A window manager tells the frame's size only once it has framed the window, which moves it.
void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitMinimumToScreen();
}

void MainWindow::followScreen(QScreen* screen) {
    disconnect(m_screenWatch);
    if (screen != nullptr) {
        m_screenWatch = connect(screen, &QScreen::availableGeometryChanged, this,
                                &MainWindow::fitMinimumToScreen);
    }
    fitMinimumToScreen();
}

// The content's minimum, less what a small or scaled screen cannot hold: the window with its
// frame and menu bar must fit the screen's free area, or its foot would be cut off.
void MainWindow::fitMinimumToScreen() {
    const QScreen* shownOn = screen();
    if (shownOn == nullptr) {
        m_root->setMinimumSize(minimumContent);
        return;
    }
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize bars(0, menuBar()->sizeHint().height());
    const QSize room = shownOn->availableGeometry().size() - frame - bars;
    m_root->setMinimumSize(minimumContent.boundedTo(room.expandedTo(QSize(0, 0))));
}

} // namespace dorvale
