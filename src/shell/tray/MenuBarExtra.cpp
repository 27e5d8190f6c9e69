#include "shell/tray/MenuBarExtra.hpp"

#include "app/AppState.hpp"
#include "app/MenuBarLabel.hpp"
#include "shell/tray/MenuBarPanel.hpp"
#include "shell/tray/TraySymbol.hpp"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QSystemTrayIcon>

namespace dorvale {

MenuBarExtra::MenuBarExtra(AppState& state, TrayProbe trayAvailable, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_trayAvailable(std::move(trayAvailable)) {
    BackgroundServices& background = m_state.background();
    connect(&background, &BackgroundServices::changed, this, &MenuBarExtra::sync);
    connect(&m_state, &AppState::volumeChanged, this, &MenuBarExtra::sync);
    QCoreApplication::instance()->installEventFilter(this);
    sync();
}

MenuBarExtra::~MenuBarExtra() = default;

// The symbol is drawn in the palette's text colour, so it is drawn again when the desktop
// switches between light and dark.
bool MenuBarExtra::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() &&
        event->type() == QEvent::ApplicationPaletteChange) {
        refreshLabel();
    }
    return QObject::eventFilter(watched, event);
}

void MenuBarExtra::sync() {
    const bool wanted = m_state.background().menuBar() && m_trayAvailable();
    if (wanted == m_shown) {
        refreshLabel();
        return;
    }
    m_shown = wanted;
    if (wanted) {
        show();
    } else {
        remove();
    }
    emit shownChanged(wanted);
}

// The icon and the panel are made the first time they are wanted and then kept, hidden while
// not wanted: the icon or the panel may be what is calling (opening the panel reads the
// volume, which checks the tray again).
void MenuBarExtra::show() {
    if (m_icon == nullptr) {
        m_panel = std::make_unique<MenuBarPanel>(m_state);
        connect(m_panel.get(), &MenuBarPanel::openRequested, this, &MenuBarExtra::openRequested);
        connect(m_panel.get(), &MenuBarPanel::quitRequested, this, &MenuBarExtra::quitRequested);
        m_icon = new QSystemTrayIcon(this);
        m_icon->setObjectName(QStringLiteral("trayIcon"));
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason != QSystemTrayIcon::DoubleClick) {
                        togglePanel();
                    }
                });
    }
    refreshLabel();
    m_icon->show();
}

void MenuBarExtra::remove() {
    m_icon->hide();
    m_panel->hide();
}

void MenuBarExtra::refreshLabel() {
    if (!m_shown) {
        return;
    }
    const BackgroundServices& background = m_state.background();
    const MenuBarLabel label = MenuBarLabel::of(m_state.volume(), background.lowSpaceGB());
    const QString symbol =
        QString::fromLatin1(label.symbol.data(), static_cast<qsizetype>(label.symbol.size()));
    m_icon->setProperty("symbol", symbol);
    m_icon->setIcon(traySymbol(
        symbol, QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText)));
    m_icon->setToolTip(label.title ? tr("%1 free").arg(QString::fromStdString(*label.title))
                                   : QStringLiteral("Dorvale"));
}

void MenuBarExtra::togglePanel() {
    if (!m_shown) {
        return;
    }
    if (m_panel->isVisible()) {
        m_panel->hide();
        return;
    }
    // Some trays cannot tell where the icon is; then the panel opens at the pointer.
    const QRect at = m_icon->geometry();
    m_panel->popUp(at.isValid() && !at.isEmpty() ? at : QRect(QCursor::pos(), QSize(1, 1)));
}

} // namespace dorvale
