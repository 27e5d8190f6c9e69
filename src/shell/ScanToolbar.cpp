#include "shell/ScanToolbar.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "app/PathText.hpp"
#include "style/Theme.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/Throttle.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int pathWidth = 260;
constexpr int spinnerSize = 16;

QAction* addTarget(QMenu& menu, const QString& text, const char* name) {
    QAction* action = menu.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

ScanToolbar::ScanToolbar(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_forms(new QStackedLayout(this))
    , m_idleForm(makeIdleForm())
    , m_scanningForm(makeScanningForm())
    , m_progress(new Throttle(
          progressRepaintInterval, [this] { showProgress(); }, this)) {
    setObjectName(QStringLiteral("scanToolbar"));
    // As wide as the wider form, so the toolbar keeps its width when the form changes; each
    // form keeps to the right.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_forms->addWidget(m_idleForm);
    m_forms->addWidget(m_scanningForm);
    refreshButton();
    showProgress();
    showForm();
    connect(&m_state, &AppState::isScanningChanged, this, &ScanToolbar::showForm);
    connect(&m_state, &AppState::scanChanged, this, &ScanToolbar::refreshButton);
    connect(&m_state, &AppState::scanTargetChanged, this, &ScanToolbar::refreshButton);
    connect(&m_state, &AppState::progressChanged, m_progress, &Throttle::request);
}

QWidget* ScanToolbar::makeIdleForm() {
    auto* form = new QWidget;
    // The label names the button; the tool tip names the target.
    m_scanButton = new IconButton(QStringLiteral("arrow.clockwise"), QString());
    m_scanButton->setObjectName(QStringLiteral("scanButton"));
    m_scanButton->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(m_scanButton);
    connect(addTarget(*menu, tr("Entire Disk"), "entireDiskAction"), &QAction::triggered, this,
            [this] { m_state.startScan(ScanTarget::wholeDisk()); });
    connect(addTarget(*menu, tr("Home Folder"), "homeFolderAction"), &QAction::triggered, this,
            [this] { m_state.startScan(ScanTarget::home()); });
    connect(addTarget(*menu, tr("Choose Folder…"), "chooseFolderAction"), &QAction::triggered, this,
            &ScanToolbar::chooseFolder);
    m_scanButton->setMenu(menu);
    connect(m_scanButton, &IconButton::clicked, this, [this] { m_state.startScan(); });
    auto* layout = new QHBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(m_scanButton);
    return form;
}

QWidget* ScanToolbar::makeScanningForm() {
    auto* form = new QWidget;
    m_progressLine = new ElidedLabel;
    m_progressLine->setObjectName(QStringLiteral("progressLine"));
    m_progressLine->setTextStyle(TextStyle::Caption, Digits::Tabular);
    m_path = new ElidedLabel;
    m_path->setObjectName(QStringLiteral("progressPath"));
    m_path->setTextStyle(TextStyle::Caption2);
    m_path->setTone(Tone::Secondary);
    m_path->setElideMode(Qt::ElideMiddle);
    // A fixed width, so the Stop button stays put while paths of every length go by.
    m_path->setFixedWidth(pathWidth);
    m_stop = new QPushButton(tr("Stop"));
    m_stop->setObjectName(QStringLiteral("stopButton"));
    connect(m_stop, &QPushButton::clicked, this, [this] { m_state.cancelScan(); });

    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(0);
    texts->addWidget(m_progressLine);
    texts->addWidget(m_path);
    auto* layout = new QHBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    layout->addStretch();
    layout->addWidget(new ActivitySpinner(spinnerSize), 0, Qt::AlignVCenter);
    layout->addLayout(texts);
    layout->addWidget(m_stop, 0, Qt::AlignVCenter);
    return form;
}

void ScanToolbar::showForm() {
    m_forms->setCurrentWidget(m_state.isScanning() ? m_scanningForm : m_idleForm);
}

void ScanToolbar::refreshButton() {
    m_scanButton->setLabel(m_state.scan() ? tr("Rescan") : tr("Scan"));
    m_scanButton->setToolTip(tr("Scan: %1").arg(m_state.scanTarget().title()));
}

void ScanToolbar::showProgress() {
    const ScanProgressSnapshot& progress = m_state.progress();
    m_progressLine->setText(
        tr("%1 files · %2").arg(countText(progress.files), byteText(progress.bytes)));
    m_path->setText(shownPath(progress.currentPath, m_state.services().locations));
}

void ScanToolbar::chooseFolder() {
    const std::optional<std::string> folder = m_state.services().fileDialogs.chooseFolder(
        tr("Choose a folder to scan").toStdString(), tr("Scan").toStdString());
    if (!folder) {
        return;
    }
    if (folder->find('\n') != std::string::npos) {
        refuseFolder();
        return;
    }
    m_state.startScan(ScanTarget::folder(*folder));
}

void ScanToolbar::refuseFolder() {
    auto* message = new QMessageBox(window());
    message->setObjectName(QStringLiteral("folderRefusedMessage"));
    message->setIcon(QMessageBox::Warning);
    message->setText(tr("This folder can’t be scanned"));
    message->setInformativeText(tr("Its path holds a line break, which Dorvale can’t keep in "
                                   "its lists of folders. Rename the folder and try again."));
    message->setWindowModality(Qt::WindowModal);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}

} // namespace dorvale
