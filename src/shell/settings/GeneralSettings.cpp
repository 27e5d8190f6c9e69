#include "shell/settings/GeneralSettings.hpp"

#include "app/AppState.hpp"
#include "shell/settings/SettingsSection.hpp"

#include <QCheckBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dorvale {

GeneralSettings::GeneralSettings(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_background(state.background())
    , m_permanentDelete(new QCheckBox(tr("Delete permanently instead of using the Trash")))
    , m_launchAtLogin(new QCheckBox(tr("Open Dorvale at login")))
    , m_menuBar(new QCheckBox(tr("Show free space in the menu bar"))) {
    setObjectName(QStringLiteral("generalSettings"));
    m_permanentDelete->setObjectName(QStringLiteral("permanentDeleteBox"));
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLoginBox"));
    m_menuBar->setObjectName(QStringLiteral("menuBarBox"));

    auto* section = new SettingsSection;
    QFormLayout* form = section->form();
    form->addRow(m_permanentDelete);
    section->addNote(tr("Recommended off: anything in the Trash can be restored."));
    form->addRow(m_launchAtLogin);
    form->addRow(m_menuBar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(section);
    layout->addStretch(1);

    showPermanentDelete();
    showBackgroundSettings();
    // The boxes act on `toggled`, which a click, the keyboard and assistive technology's
    // toggle all send; they are set from the settings with their signals blocked. Launch at
    // login announces every switch, failed or not, through `changed`; the box then shows what
    // the platform reports, not the switch.
    connect(m_permanentDelete, &QCheckBox::toggled, &m_state, &AppState::setPermanentDelete);
    connect(m_launchAtLogin, &QCheckBox::toggled, &m_background,
            &BackgroundServices::setLaunchAtLogin);
    connect(m_menuBar, &QCheckBox::toggled, &m_background, &BackgroundServices::setMenuBar);
    connect(&m_state, &AppState::permanentDeleteChanged, this,
            &GeneralSettings::showPermanentDelete);
    connect(&m_background, &BackgroundServices::changed, this,
            &GeneralSettings::showBackgroundSettings);
}

// The login item can change outside the program, so its status is read again on each show.
void GeneralSettings::showEvent(QShowEvent* event) {
    showBackgroundSettings();
    QWidget::showEvent(event);
}

void GeneralSettings::showPermanentDelete() {
    const QSignalBlocker blocker(m_permanentDelete);
    m_permanentDelete->setChecked(m_state.permanentDelete());
}

void GeneralSettings::showBackgroundSettings() {
    const QSignalBlocker loginBlocker(m_launchAtLogin);
    const QSignalBlocker menuBarBlocker(m_menuBar);
    m_launchAtLogin->setChecked(m_background.launchAtLogin());
    m_menuBar->setChecked(m_background.menuBar());
}

} // namespace dorvale
