#include "shell/settings/SettingsWindow.hpp"

#include "shell/settings/AutomationSettings.hpp"
#include "shell/settings/ExclusionsSettings.hpp"
#include "shell/settings/GeneralSettings.hpp"
#include "style/Symbols.hpp"
#include "widgets/FitMinimumSize.hpp"

#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr QSize preferredSize(580, 460);
constexpr int leastWidth = 460;

// Escape and the desktop's close keys, Ctrl+W among them, each once: a key bound twice would
// be ambiguous and close nothing.
QList<QKeySequence> closingKeys() {
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence& extra :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        if (!keys.contains(extra)) {
            keys.append(extra);
        }
    }
    return keys;
}

} // namespace

SettingsWindow::SettingsWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_tabs(new QTabWidget) {
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(tr("Settings"));
    m_tabs->setObjectName(QStringLiteral("settingsTabs"));
    m_tabs->setDocumentMode(true);
    addPane(new GeneralSettings(state), QStringLiteral("gearshape"), tr("General"));
    addPane(new AutomationSettings(state), QStringLiteral("calendar.badge.clock"),
            tr("Automation"));
    addPane(new ExclusionsSettings(state), QStringLiteral("eye.slash"), tr("Exclusions"));
    // The style's margins keep the tabs off the window's edge.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(preferredSize);
    auto* close = new QShortcut(this);
    close->setKeys(closingKeys());
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

// The pane keeps its tab's symbol in its "symbol" property.
void SettingsWindow::addPane(QWidget* pane, const QString& symbol, const QString& title) {
    pane->setProperty("symbol", symbol);
    m_tabs->addTab(pane, Symbols::icon(symbol), title);
}

void SettingsWindow::present() {
    show();
    raise();
    activateWindow();
}

// Texts measure their lines only once the window is polished for showing, and the panes may
// have changed since it was last shown ("Last run" appears after the first clean).
void SettingsWindow::showEvent(QShowEvent* event) {
    fitMinimumSize(*this, leastWidth);
    QWidget::showEvent(event);
}

} // namespace dorvale
