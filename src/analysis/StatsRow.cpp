#include "analysis/StatsRow.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "platform/Formatters.hpp"
#include "platform/SaturatingSum.hpp"
#include "widgets/StatTile.hpp"

#include <QHBoxLayout>
#include <QLocale>

#include <algorithm>

namespace dorvale {

namespace {

QString clampedBytes(std::int64_t bytes) {
    return byteText(std::max<std::int64_t>(0, bytes));
}

QString foldersCaption(const ScanResult& scan) {
    const QLocale locale;
    if (scan.unreadableDirectories < 1) {
        return StatsRow::tr("%1 folders").arg(locale.toString(qint64{scan.totalDirectories}));
    }
    return StatsRow::tr("%1 folders without access")
        .arg(locale.toString(qint64{scan.unreadableDirectories}));
}

} // namespace

StatsRow::StatsRow(AppState& state, const ScanResult& scan, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_used(new StatTile(tr("Used"), {}, QString(), QStringLiteral("internaldrive.fill"),
                          Theme::accent()))
    , m_free(new StatTile(tr("Free"), {}, tr("Available right now"),
                          QStringLiteral("checkmark.circle.fill"), Theme::safe()))
    , m_purgeable(
          new StatTile(tr("Purgeable"), {},
                       tr("macOS frees this on its own when needed (iCloud copies, caches)"),
                       QStringLiteral("icloud.and.arrow.down.fill"), Theme::accentSecondary()))
    , m_scanned(new StatTile(tr("Scanned"), clampedBytes(scan.root ? scan.root->size() : 0),
                             foldersCaption(scan), QStringLiteral("magnifyingglass"),
                             Theme::caution())) {
    setObjectName(QStringLiteral("statsRow"));
    m_used->setObjectName(QStringLiteral("usedTile"));
    m_free->setObjectName(QStringLiteral("freeTile"));
    m_purgeable->setObjectName(QStringLiteral("purgeableTile"));
    m_scanned->setObjectName(QStringLiteral("scannedTile"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::medium);
    for (StatTile* tile : {m_used, m_free, m_purgeable, m_scanned}) {
        layout->addWidget(tile, 1);
    }
    showVolume();
    connect(&m_state, &AppState::volumeChanged, this, &StatsRow::showVolume);
}

// The differences are taken of the volume's own figures, which may disagree with each
// other; a negative one shows as zero, and the used share is of the difference as it came.
void StatsRow::showVolume() {
    const std::optional<VolumeInfo>& volume = m_state.volume();
    for (StatTile* tile : {m_used, m_free, m_purgeable}) {
        tile->setVisible(volume.has_value());
    }
    if (!volume) {
        return;
    }
    const std::int64_t used = saturatingSum(volume->total, -volume->available);
    m_used->setValue(clampedBytes(used));
    m_used->setCaption(tr("of %1 · %2")
                           .arg(clampedBytes(volume->total),
                                QString::fromStdString(percentText(used, volume->total))));
    m_free->setValue(clampedBytes(volume->available));
    m_purgeable->setValue(
        clampedBytes(saturatingSum(volume->availableForImportantUsage, -volume->available)));
}

} // namespace dorvale
