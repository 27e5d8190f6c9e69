#include "cleanup/IdleStage.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/Promise.hpp"
#include "cleanup/SmartStartButton.hpp"
#include "style/Theme.hpp"
#include "widgets/Centred.hpp"
#include "widgets/DefaultKey.hpp"
#include "widgets/DiskRing.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spacing = 26;
constexpr int ringSide = 250;
constexpr int headerSpacing = 6;
constexpr int sentenceWidth = 520;
constexpr int promiseSpacing = 14;

} // namespace

IdleStage::IdleStage(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state) {
    setObjectName(QStringLiteral("idleStage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(makeRing(), 0, Qt::AlignHCenter);
    layout->addWidget(makeHeader());
    layout->addWidget(makePromises(), 0, Qt::AlignHCenter);
    showVolume();
    connect(&m_state, &AppState::volumeChanged, this, &IdleStage::showVolume);
    connect(m_start, &QAbstractButton::clicked, this, [this] { m_state.startSmartClean(); });
    setDefaultKey(*this, *m_start);
}

QWidget* IdleStage::makeRing() {
    m_ring = new DiskRing;
    m_ring->setObjectName(QStringLiteral("diskRing"));
    m_ring->setAccessibleName(tr("Disk used"));
    m_ring->setFixedSize(ringSide, ringSide);
    // The start button's glow reaches past its square. Without a volume the ring is hidden,
    // but its room stays, so the glow is never cut off at the edges of a smaller group.
    QSizePolicy keepRoom = m_ring->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_ring->setSizePolicy(keepRoom);
    m_start = new SmartStartButton;
    auto* group = new QWidget;
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ring, 0, 0, Qt::AlignCenter);
    layout->addWidget(m_start, 0, 0, Qt::AlignCenter);
    return group;
}

QWidget* IdleStage::makeHeader() {
    auto* headline = new WrappingLabel(tr("Free up space safely"));
    headline->setObjectName(QStringLiteral("idleHeadline"));
    headline->setTextStyle(TextStyle::DisplaySmall, FontWeight::Bold);
    headline->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_freeSpace = new WrappingLabel;
    m_freeSpace->setObjectName(QStringLiteral("freeSpaceSentence"));
    m_freeSpace->setTone(Tone::Secondary);
    m_freeSpace->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* header = new QWidget;
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(headerSpacing);
    layout->addWidget(headline);
    layout->addWidget(centredAtMost(m_freeSpace, sentenceWidth));
    return header;
}

QWidget* IdleStage::makePromises() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(promiseSpacing);
    layout->addWidget(new Promise(QStringLiteral("checkmark.shield.fill"),
                                  tr("Never touches the system"), Theme::safe()));
    layout->addWidget(new Promise(QStringLiteral("arrow.uturn.backward.circle.fill"),
                                  tr("You review before anything is cleaned"), Theme::accent()));
    layout->addWidget(new Promise(QStringLiteral("lock.fill"), tr("Everything stays on your Mac"),
                                  Theme::accentSecondary()));
    return row;
}

void IdleStage::showVolume() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    m_ring->setVisible(volume.has_value());
    // The sentence's centred row goes with it, so no gap is left where it was.
    m_freeSpace->parentWidget()->setVisible(volume.has_value());
    if (!volume) {
        return;
    }
    m_ring->setUsage(volume->total - volume->available, volume->total);
    m_freeSpace->setText(tr("You have %1 free of %2. Dorvale only looks for files that macOS and "
                            "your apps can recreate.")
                             .arg(byteText(volume->available), byteText(volume->total)));
}

} // namespace dorvale
