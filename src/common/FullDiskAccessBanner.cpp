#include "common/FullDiskAccessBanner.hpp"

#include "app/AppState.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/LinkButton.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorvale {

FullDiskAccessBanner::FullDiskAccessBanner(AppState& state, QWidget* parent)
    : Card(Theme::Space::large, parent)
    , m_state(state) {
    setObjectName(QStringLiteral("fullDiskAccessBanner"));
    auto* icon = new SymbolIcon(QStringLiteral("lock.shield.fill"),
                                QFontMetrics(Typography::font(TextStyle::Title2)).height());
    icon->setColor(Theme::caution());
    auto* title = new ElidedLabel(tr("Grant Full Disk Access"));
    title->setTextStyle(TextStyle::Headline);
    auto* text = new WrappingLabel(
        tr("Without it, macOS hides folders like Mail, Safari and app containers from Dorvale, "
           "so sizes come out incomplete. Dorvale never sends anything off your Mac."));
    text->setTextStyle(TextStyle::Callout);
    text->setTone(Tone::Secondary);

    auto* open = new QPushButton(tr("Open Privacy Settings"));
    open->setObjectName(QStringLiteral("openPrivacySettingsButton"));
    connect(open, &QPushButton::clicked, this,
            [this] { m_state.services().openPrivacySettings(); });
    auto* recheck = new LinkButton(tr("I’ve Done It"));
    recheck->setObjectName(QStringLiteral("recheckAccessButton"));
    connect(recheck, &QPushButton::clicked, this, [this] { m_state.recheckFullDiskAccess(); });
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, Theme::Space::tight, 0, 0);
    buttons->addWidget(open);
    buttons->addWidget(recheck);
    buttons->addStretch();

    auto* column = new QVBoxLayout;
    column->setSpacing(Theme::Space::tight);
    column->addWidget(title);
    column->addWidget(text);
    column->addLayout(buttons);
    auto* row = new QHBoxLayout;
    row->setSpacing(Theme::Space::medium);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(column, 1);
    contentLayout()->addLayout(row);
}

} // namespace dorvale
