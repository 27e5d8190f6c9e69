#include "common/ScanPrompt.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "app/PathText.hpp"
#include "common/FullDiskAccessBanner.hpp"
#include "style/Theme.hpp"
#include "widgets/Centred.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/Emblem.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/ScanningRing.hpp"
#include "widgets/Throttle.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int textWidth = 420;
constexpr int bannerWidth = 520;

WrappingLabel* centredText(const QString& text) {
    auto* label = new WrappingLabel(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

} // namespace

ScanPrompt::ScanPrompt(AppState& state, const QString& title, const QString& message,
                       QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state)
    , m_idleForm(makeIdleForm(title, message))
    , m_scanningForm(makeScanningForm())
    , m_progress(new Throttle(
          progressRepaintInterval, [this] { showProgress(); }, this)) {
    setObjectName(QStringLiteral("scanPrompt"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::wide, Theme::Space::wide, Theme::Space::wide,
                               Theme::Space::wide);
    layout->addStretch();
    layout->addWidget(m_idleForm);
    layout->addWidget(m_scanningForm);
    layout->addStretch();
    showProgress();
    showForm();
    connect(&m_state, &AppState::isScanningChanged, this, &ScanPrompt::showForm);
    connect(&m_state, &AppState::hasFullDiskAccessChanged, this, &ScanPrompt::showForm);
    connect(&m_state, &AppState::progressChanged, m_progress, &Throttle::request);
}

std::optional<ScanPrompt::Texts> ScanPrompt::textsFor(AppSection section) {
    switch (section) {
    case AppSection::Overview:
        return Texts{tr("What’s taking up your disk?"),
                     tr("Dorvale measures your whole disk (real size on APFS, without counting "
                        "hard links twice) and breaks it down by category, folder and file "
                        "type.")};
    case AppSection::Explorer:
        return Texts{tr("Folder explorer"),
                     tr("Browse folder by folder sorted by size, like a Finder that shows what "
                        "everything really takes up.")};
    case AppSection::Types:
        return Texts{tr("Files by type"), tr("Videos, photos, documents, installers, archives… "
                                             "Scan your disk to see them grouped.")};
    case AppSection::Large:
        return Texts{tr("Large and old files"),
                     tr("Scan your disk to list every file over 512 KB, with filters for size, "
                        "date, type and category.")};
    case AppSection::Duplicates:
        return Texts{tr("Scan your disk first"),
                     tr("Duplicates are found among the files from the last scan.")};
    default:
        return std::nullopt;
    }
}

QWidget* ScanPrompt::makeIdleForm(const QString& title, const QString& message) {
    auto* titleLabel = centredText(title);
    titleLabel->setObjectName(QStringLiteral("promptTitle"));
    titleLabel->setTextStyle(TextStyle::Title2, FontWeight::Bold);
    auto* messageLabel = centredText(message);
    messageLabel->setObjectName(QStringLiteral("promptMessage"));
    messageLabel->setTone(Tone::Secondary);

    auto* disk = new PrimaryButton(tr("Scan Entire Disk"));
    disk->setObjectName(QStringLiteral("scanDiskButton"));
    connect(disk, &QPushButton::clicked, this,
            [this] { m_state.startScan(ScanTarget::wholeDisk()); });
    auto* home = new QPushButton(tr("Home Folder Only"));
    home->setObjectName(QStringLiteral("scanHomeButton"));
    connect(home, &QPushButton::clicked, this, [this] { m_state.startScan(ScanTarget::home()); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(disk);
    buttons->addWidget(home);
    buttons->addStretch();

    m_banner = new FullDiskAccessBanner(m_state);

    auto* form = new QWidget;
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(new Emblem(QStringLiteral("internaldrive.fill"), Emblem::Look::FaintDisc), 0,
                      Qt::AlignHCenter);
    layout->addWidget(titleLabel);
    layout->addWidget(centredAtMost(messageLabel, textWidth));
    layout->addLayout(buttons);
    layout->addWidget(centredAtMost(m_banner, bannerWidth));
    return form;
}

QWidget* ScanPrompt::makeScanningForm() {
    m_ring = new ScanningRing({}, {});
    m_ring->setObjectName(QStringLiteral("scanningRing"));
    m_path = new ElidedLabel;
    m_path->setObjectName(QStringLiteral("promptPath"));
    m_path->setTextStyle(TextStyle::Caption);
    m_path->setTone(Tone::Secondary);
    m_path->setElideMode(Qt::ElideMiddle);
    m_path->setAlignment(Qt::AlignHCenter);

    auto* form = new QWidget;
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(m_ring, 0, Qt::AlignHCenter);
    layout->addWidget(centredAtMost(m_path, textWidth));
    return form;
}

void ScanPrompt::showForm() {
    const bool scanning = m_state.isScanning();
    m_scanningForm->setVisible(scanning);
    m_idleForm->setVisible(!scanning);
    // The banner's row goes with it, so no gap is left where it was.
    m_banner->parentWidget()->setVisible(!m_state.hasFullDiskAccess());
}

void ScanPrompt::showProgress() {
    const ScanProgressSnapshot& progress = m_state.progress();
    m_ring->setTexts(tr("%1 files").arg(countText(progress.files)), byteText(progress.bytes));
    m_path->setText(shownPath(progress.currentPath, m_state.services().locations));
}

} // namespace dorvale
