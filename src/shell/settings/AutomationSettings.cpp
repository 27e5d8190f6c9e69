#include "shell/settings/AutomationSettings.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/CleanSchedule.hpp"
#include "platform/Formatters.hpp"
#include "shell/settings/SettingsSection.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <optional>

namespace dorvale {

namespace {

// The thresholds offered, in gigabytes; 0 is "Never".
constexpr std::array<qint64, 5> thresholds = {0, 5, 10, 20, 50};

// The label is the picker's buddy, which assistive technology on Linux reads as the label
// of the picker's current option; the accessible name says the same where the name is read,
// and while no option is current.
void addNamedRow(QFormLayout& form, const QString& label, QComboBox& picker) {
    form.addRow(label, &picker);
    picker.setAccessibleName(label);
}

} // namespace

AutomationSettings::AutomationSettings(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_background(state.background()) {
    setObjectName(QStringLiteral("automationSettings"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeCleanSection());
    layout->addWidget(makeWarningSection());
    layout->addStretch(1);

    showSettings();
    showLastRun();
    showRunning();
    connect(m_schedule, &QComboBox::activated, this, &AutomationSettings::chooseSchedule);
    connect(m_threshold, &QComboBox::activated, this, &AutomationSettings::chooseThreshold);
    connect(m_runNow, &QPushButton::clicked, this, [this] { m_background.runAutoClean(); });
    connect(&m_background, &BackgroundServices::changed, this, &AutomationSettings::showSettings);
    connect(&m_background, &BackgroundServices::lastAutoCleanChanged, this,
            &AutomationSettings::showLastRun);
    connect(&m_background, &BackgroundServices::lastAutoCleanBytesChanged, this,
            &AutomationSettings::showLastRun);
    connect(&m_background, &BackgroundServices::autoCleanRunningChanged, this,
            &AutomationSettings::showRunning);
}

SettingsSection* AutomationSettings::makeCleanSection() {
    m_cleanSection = new SettingsSection;
    QFormLayout* form = m_cleanSection->form();
    m_schedule = new QComboBox;
    m_schedule->setObjectName(QStringLiteral("scheduleBox"));
    for (const CleanSchedule schedule : allCleanSchedules) {
        m_schedule->addItem(title(schedule), static_cast<int>(schedule));
    }
    addNamedRow(*form, tr("Clean safe junk automatically"), *m_schedule);
    m_cleanSection->addNote(
        tr("Only caches, logs, saved window state and Xcode build data — files that regenerate "
           "on their own. Never the Trash, Downloads or anything marked Review. Runs while "
           "Dorvale is open or in the menu bar."));
    m_lastRun = new QLabel;
    m_lastRun->setObjectName(QStringLiteral("lastRunLabel"));
    m_lastRun->setTextFormat(Qt::PlainText);
    form->addRow(tr("Last run"), m_lastRun);
    m_runNow = new QPushButton;
    m_runNow->setObjectName(QStringLiteral("runNowButton"));
    m_runNow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    form->addRow(m_runNow);
    return m_cleanSection;
}

SettingsSection* AutomationSettings::makeWarningSection() {
    auto* section = new SettingsSection;
    m_threshold = new QComboBox;
    m_threshold->setObjectName(QStringLiteral("lowSpaceBox"));
    for (const qint64 gigabytes : thresholds) {
        // The figures are shown as they are, not translated.
        m_threshold->addItem(gigabytes == 0 ? tr("Never")
                                            : QString::number(gigabytes) + QStringLiteral(" GB"),
                             gigabytes);
    }
    addNamedRow(*section->form(), tr("Warn me when free space drops below"), *m_threshold);
    return section;
}

// A stored threshold that no option holds shows no current option and is left as it is.
void AutomationSettings::showSettings() {
    m_schedule->setCurrentIndex(m_schedule->findData(static_cast<int>(m_background.schedule())));
    m_threshold->setCurrentIndex(
        m_threshold->findData(static_cast<qint64>(m_background.lowSpaceGB())));
}

void AutomationSettings::showLastRun() {
    const std::optional<Timestamp> last = m_background.lastAutoClean();
    m_cleanSection->form()->setRowVisible(m_lastRun, last.has_value());
    if (!last) {
        return;
    }
    m_lastRun->setText(
        tr("%1 · %2").arg(QString::fromStdString(relativeText(*last, m_state.services().clock)),
                          byteText(m_background.lastAutoCleanBytes())));
}

void AutomationSettings::showRunning() {
    const bool running = m_background.autoCleanRunning();
    m_runNow->setText(running ? tr("Cleaning…") : tr("Run Now"));
    m_runNow->setEnabled(!running);
}

void AutomationSettings::chooseSchedule(int index) {
    const auto schedule = static_cast<CleanSchedule>(m_schedule->itemData(index).toInt());
    m_background.setSchedule(schedule);
    if (schedule != CleanSchedule::Off) {
        m_state.services().notifier.requestPermission();
    }
}

void AutomationSettings::chooseThreshold(int index) {
    const qint64 gigabytes = m_threshold->itemData(index).toLongLong();
    m_background.setLowSpaceGB(gigabytes);
    if (gigabytes > 0) {
        m_state.services().notifier.requestPermission();
    }
}

} // namespace dorvale
