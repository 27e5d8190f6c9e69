#include "shell/DiskFooter.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/UsageBar.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr double lowSpaceShare = 0.1;

double usedShare(const VolumeInfo& volume) {
    return static_cast<double>(volume.total - volume.available) /
           static_cast<double>(std::max<std::int64_t>(volume.total, 1));
}

} // namespace

DiskFooter::DiskFooter(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_content(new QWidget(this))
    , m_name(new ElidedLabel)
    , m_free(new ElidedLabel)
    , m_bar(new UsageBar) {
    setObjectName(QStringLiteral("diskFooter"));
    m_name->setObjectName(QStringLiteral("volumeName"));
    m_name->setTextStyle(TextStyle::Caption, FontWeight::Semibold);
    m_free->setObjectName(QStringLiteral("volumeFree"));
    m_free->setTextStyle(TextStyle::Caption);
    m_free->setTone(Tone::Secondary);
    m_free->setElideMode(Qt::ElideNone);
    m_bar->setObjectName(QStringLiteral("volumeBar"));
    m_bar->setAccessibleName(tr("Used space"));

    auto* icon =
        new SymbolIcon(QStringLiteral("internaldrive.fill"), QFontMetrics(m_name->font()).height());
    icon->setTone(Tone::Secondary);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(icon, 0, Qt::AlignVCenter);
    header->addWidget(m_name, 1, Qt::AlignVCenter);
    header->addWidget(m_free, 0, Qt::AlignVCenter);

    auto* content = new QVBoxLayout(m_content);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(Theme::Space::small);
    content->addLayout(header);
    content->addWidget(m_bar);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);

    refresh();
    connect(&m_state, &AppState::volumeChanged, this, &DiskFooter::refresh);
}

QColor DiskFooter::tintFor(const VolumeInfo& volume) {
    const double freeShare = static_cast<double>(volume.available) /
                             static_cast<double>(std::max<std::int64_t>(volume.total, 1));
    return freeShare < lowSpaceShare ? Theme::danger() : Theme::accent();
}

void DiskFooter::refresh() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    m_content->setVisible(volume.has_value());
    if (!volume) {
        return;
    }
    const QString available = byteText(volume->available);
    m_name->setText(QString::fromStdString(volume->name));
    m_free->setText(tr("%1 free").arg(available));
    m_bar->setFraction(usedShare(*volume));
    m_bar->setTint(tintFor(*volume));
}

} // namespace dorvale
