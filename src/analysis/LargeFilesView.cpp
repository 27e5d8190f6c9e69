#include "analysis/LargeFilesView.hpp"

#include "analysis/FilesCSV.hpp"
#include "analysis/FilesTable.hpp"
#include "analysis/FilterBar.hpp"
#include "app/AppState.hpp"
#include "common/ScanPage.hpp"
#include "style/Theme.hpp"
#include "widgets/PageHeader.hpp"

#include <QVBoxLayout>

namespace dorvale {

LargeFilesView::LargeFilesView(AppState& state, std::shared_ptr<const ScanResult> scan,
                               const PreviewPresenter& presenter, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_scan(std::move(scan))
    , m_filterBar(new FilterBar(
          {[this] { return m_state.largeFilter(); },
           [this](FileFilter filter) {
               m_state.setLargeFilter(std::move(filter));
           }},
          {.sizeOptions = FilterBar::fileSizeOptions(), .ageOptions = FilterBar::fileAgeOptions()},
          state.services().locations))
    , m_table(new FilesTable(state, presenter)) {
    setObjectName(QStringLiteral("largeFilesView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, Theme::Space::page, 0, 0);
    layout->setSpacing(Theme::Space::medium + 2);
    auto* header =
        new PageHeader(tr("Large & Old"), tr("Every scanned file. Sort by any column and combine "
                                             "filters."));
    header->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->addWidget(header);
    m_filterBar->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_table, 1);
    connect(m_filterBar, &FilterBar::exportRequested, this, &LargeFilesView::exportListed);
    connect(&m_state, &AppState::largeFilterChanged, this, [this] {
        m_filterBar->sync();
        refresh();
    });
    connect(&m_state, &AppState::revisionChanged, this, &LargeFilesView::refresh);
    refresh();
}

QWidget* LargeFilesView::makePage(AppState& state, PreviewPresenter presenter) {
    const auto texts = ScanPrompt::textsFor(AppSection::Large);
    return new ScanPage(state, *texts,
                        [&state, presenter](std::shared_ptr<const ScanResult> scan) -> QWidget* {
                            return new LargeFilesView(state, std::move(scan), presenter);
                        });
}

void LargeFilesView::refresh() {
    m_listing = FileListing::of(*m_scan, m_state.largeFilter(), m_state.services().clock.now(),
                                m_state.services().locations.dataVolume);
    m_filterBar->setResult(static_cast<std::int64_t>(m_listing.nodes.size()), m_listing.size);
    m_table->setNodes(m_scan, m_listing.nodes);
}

void LargeFilesView::exportListed() {
    FilesCSV::write(m_state.services().fileDialogs, m_listing.nodes, tr("Dorvale-files"),
                    m_state.services().locations.dataVolume);
}

} // namespace dorvale
