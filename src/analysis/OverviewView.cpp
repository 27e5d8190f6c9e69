#include "analysis/OverviewView.hpp"

#include "analysis/BiggestFolders.hpp"
#include "analysis/CompositionCard.hpp"
#include "analysis/Recommendations.hpp"
#include "analysis/StatsRow.hpp"
#include "app/AppState.hpp"
#include "common/FullDiskAccessBanner.hpp"
#include "common/ScanPrompt.hpp"
#include "widgets/PageHeader.hpp"

#include <QHBoxLayout>
#include <QLocale>
#include <QScrollArea>
#include <QVBoxLayout>

namespace dorvale {

OverviewView::OverviewView(AppState& state, QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state)
    , m_prompt(new ScanPrompt(state, ScanPrompt::textsFor(AppSection::Overview)->title,
                              ScanPrompt::textsFor(AppSection::Overview)->message))
    , m_scroll(new QScrollArea) {
    setObjectName(QStringLiteral("overviewPage"));
    m_scroll->setObjectName(QStringLiteral("overviewScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The page's backdrop shows through the scrolling column.
    m_scroll->viewport()->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_prompt);
    layout->addWidget(m_scroll);
    refresh();
    connect(&m_state, &AppState::scanChanged, this, &OverviewView::refresh);
    connect(&m_state, &AppState::revisionChanged, this, &OverviewView::refresh);
    connect(&m_state, &AppState::hasFullDiskAccessChanged, this, &OverviewView::showBanner);
}

QString OverviewView::subtitle(const ScanTarget& target, const ScanResult& scan) {
    return tr("%1 · %2 files in %3 s")
        .arg(target.title(), QLocale().toString(qint64{scan.totalFiles}),
             QString::asprintf("%.1f", scan.duration));
}

// A published result raises the revision as well; the second signal finds the column built.
void OverviewView::refresh() {
    const std::shared_ptr<const ScanResult> scan = m_state.scan();
    if (scan.get() == m_shownScan && m_state.revision() == m_shownRevision) {
        return;
    }
    m_shownScan = scan.get();
    m_shownRevision = m_state.revision();
    m_prompt->setVisible(scan == nullptr);
    m_scroll->setVisible(scan != nullptr);
    if (m_column != nullptr) {
        // Taken out first: the scroll area would delete it at once, under a click or hover
        // event of one of its rows that may still be on its way.
        m_scroll->takeWidget();
        m_column->hide();
        m_column->deleteLater();
        m_column = nullptr;
        m_banner = nullptr;
    }
    if (scan != nullptr) {
        m_column = makeColumn(scan);
        m_scroll->setWidget(m_column);
    }
}

QWidget* OverviewView::makeColumn(const std::shared_ptr<const ScanResult>& scan) {
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("overviewColumn"));
    const std::optional<ScanTarget>& target = m_state.scannedTarget();
    auto* header = new PageHeader(tr("Overview"), target ? subtitle(*target, *scan) : QString());
    header->setObjectName(QStringLiteral("pageHeader"));
    m_banner = new FullDiskAccessBanner(m_state);
    auto* cards = new QHBoxLayout;
    cards->setSpacing(Theme::Space::page);
    cards->addWidget(new BiggestFolders(m_state, scan), 1, Qt::AlignTop);
    cards->addWidget(new Recommendations(m_state), 1, Qt::AlignTop);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    layout->setSpacing(Theme::Space::page);
    layout->addWidget(header);
    layout->addWidget(m_banner);
    layout->addWidget(new StatsRow(m_state, *scan));
    layout->addWidget(new CompositionCard(m_state));
    layout->addLayout(cards);
    layout->addStretch();
    showBanner();
    return column;
}

void OverviewView::showBanner() {
    if (m_banner != nullptr) {
        m_banner->setVisible(!m_state.hasFullDiskAccess());
    }
}

} // namespace dorvale
