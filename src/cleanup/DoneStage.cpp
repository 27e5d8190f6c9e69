#include "cleanup/DoneStage.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/DoneTick.hpp"
#include "platform/SaturatingSum.hpp"
#include "widgets/PrimaryButton.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spacing = 18;
constexpr int buttonsAbove = 8;

WrappingLabel* centredLine(const char* name, TextStyle style, Tone tone) {
    auto* label = new WrappingLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextStyle(style, style == TextStyle::DisplayMedium ? FontWeight::Bold
                                                                 : FontWeight::StyleDefault);
    label->setTone(tone);
    return label;
}

} // namespace

DoneStage::DoneStage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_cleaned(centredLine("cleanedLine", TextStyle::DisplayMedium, Tone::Primary))
    , m_inTrash(centredLine("trashLine", TextStyle::Body, Tone::Secondary))
    , m_untouched(centredLine("untouchedLine", TextStyle::Callout, Tone::Secondary))
    , m_freeNow(centredLine("freeNowLine", TextStyle::Title3, Tone::Primary)) {
    setObjectName(QStringLiteral("doneStage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(new DoneTick, 0, Qt::AlignHCenter);
    layout->addWidget(m_cleaned);
    layout->addWidget(m_inTrash);
    layout->addWidget(m_untouched);
    layout->addWidget(m_freeNow);
    layout->addSpacing(buttonsAbove);
    layout->addWidget(makeButtons(), 0, Qt::AlignHCenter);
    showReport();
    showVolume();
    connect(&m_state, &AppState::lastReportChanged, this, &DoneStage::showReport);
    connect(&m_state, &AppState::volumeChanged, this, &DoneStage::showVolume);
}

QWidget* DoneStage::makeButtons() {
    auto* more = new QPushButton(tr("See What Else Is Using Space"));
    more->setObjectName(QStringLiteral("seeMoreButton"));
    // The section change replaces this page, so the state is what the click holds on to.
    connect(more, &QPushButton::clicked, this, [&state = m_state] {
        state.setSection(AppSection::Overview);
        if (!state.scan()) {
            state.startScan(ScanTarget::wholeDisk());
        }
    });
    auto* done = new PrimaryButton(tr("Done"));
    done->setObjectName(QStringLiteral("doneButton"));
    connect(done, &QPushButton::clicked, this, [this] { m_state.returnToSmartStart(); });

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::small);
    layout->addWidget(more);
    layout->addWidget(done);
    return row;
}

void DoneStage::showReport() {
    const std::optional<DeletionReport>& report = m_state.lastReport();
    m_cleaned->setVisible(report.has_value());
    m_inTrash->setVisible(report && report->movedToTrash >= 1);
    m_untouched->setVisible(report && !report->failures.empty());
    if (!report) {
        return;
    }
    m_cleaned->setText(
        tr("%1 cleaned").arg(byteText(saturatingSum(report->freed, report->movedToTrash))));
    m_inTrash->setText(
        tr("%1 is in the Trash until you empty it.").arg(byteText(report->movedToTrash)));
    m_untouched->setText(tr("%1 item(s) were in use or protected and were left untouched.")
                             .arg(report->failures.size()));
}

void DoneStage::showVolume() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    m_freeNow->setVisible(volume.has_value());
    if (volume) {
        m_freeNow->setText(tr("You now have %1 free.").arg(byteText(volume->available)));
    }
}

} // namespace dorvale
