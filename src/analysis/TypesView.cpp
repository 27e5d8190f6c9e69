#include "analysis/TypesView.hpp"

#include "analysis/FilesCSV.hpp"
#include "analysis/FilesTable.hpp"
#include "analysis/FilterBar.hpp"
#include "analysis/KindSymbol.hpp"
#include "analysis/KindTile.hpp"
#include "app/AppState.hpp"
#include "common/ScanPage.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/PageHeader.hpp"

#include <QHBoxLayout>
#include <QLocale>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int tileSpacing = 10;

std::int64_t figure(const std::map<FileKind, std::int64_t>& figures, FileKind kind) {
    const auto found = figures.find(kind);
    return found == figures.end() ? 0 : found->second;
}

} // namespace

TypesView::TypesView(AppState& state, std::shared_ptr<const ScanResult> scan,
                     const PreviewPresenter& presenter, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_scan(std::move(scan))
    , m_kindFiles(FileListing::byKind(*m_scan))
    , m_filterBar(new FilterBar({[this] { return m_filter; },
                                 [this](FileFilter filter) {
                                     m_filter = std::move(filter);
                                     refresh();
                                 }},
                                {.showKinds = false,
                                 .sizeOptions = FilterBar::fileSizeOptions(),
                                 .ageOptions = FilterBar::fileAgeOptions()},
                                state.services().locations))
    , m_note(new ElidedLabel)
    , m_table(new FilesTable(state, presenter)) {
    setObjectName(QStringLiteral("typesView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, Theme::Space::page, 0, 0);
    layout->setSpacing(Theme::Space::medium + 2);
    auto* header =
        new PageHeader(tr("By File Type"), tr("Based on each file’s extension, wherever it is."));
    header->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->addWidget(header);
    layout->addWidget(makeTiles());
    m_filterBar->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->addWidget(m_filterBar);
    m_note->setObjectName(QStringLiteral("smallFilesNote"));
    m_note->setTextStyle(TextStyle::Caption);
    m_note->setTone(Tone::Secondary);
    m_note->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->addWidget(m_note);
    layout->addWidget(m_table, 1);
    connect(m_filterBar, &FilterBar::exportRequested, this, &TypesView::exportListed);
    connect(&m_state, &AppState::revisionChanged, this, &TypesView::refresh);
    refresh();
}

QWidget* TypesView::makePage(AppState& state, PreviewPresenter presenter) {
    const auto texts = ScanPrompt::textsFor(AppSection::Types);
    return new ScanPage(state, *texts,
                        [&state, presenter](std::shared_ptr<const ScanResult> scan) -> QWidget* {
                            return new TypesView(state, std::move(scan), presenter);
                        });
}

QWidget* TypesView::makeTiles() {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("kindTiles"));
    m_tileRow = new QHBoxLayout(row);
    m_tileRow->setContentsMargins(Theme::Space::page, Theme::Space::tight, Theme::Space::page,
                                  Theme::Space::tight);
    m_tileRow->setSpacing(tileSpacing);
    for (const FileKind kind : allFileKinds) {
        auto* tile = new KindTile(kind);
        tile->setObjectName(QStringLiteral("kindTile%1").arg(static_cast<int>(kind)));
        connect(tile, &QAbstractButton::clicked, this, [this, kind] { setKind(kind); });
        m_tiles[static_cast<std::size_t>(kind)] = tile;
    }
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("kindTileScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(row);
    orderTiles();
    scroll->setFixedHeight(row->sizeHint().height());
    return scroll;
}

std::vector<KindTile*> TypesView::tiles() const {
    std::vector<KindTile*> shown;
    for (int i = 0; i < m_tileRow->count(); ++i) {
        if (auto* tile = qobject_cast<KindTile*>(m_tileRow->itemAt(i)->widget())) {
            shown.push_back(tile);
        }
    }
    return shown;
}

void TypesView::setKind(FileKind kind) {
    if (kind != m_kind) {
        m_kind = kind;
        refresh();
    }
}

// Largest total first; kinds with equal totals keep their declared order.
void TypesView::orderTiles() {
    std::array<FileKind, allFileKinds.size()> order = allFileKinds;
    std::stable_sort(order.begin(), order.end(), [this](FileKind a, FileKind b) {
        return figure(m_scan->kindTotals, a) > figure(m_scan->kindTotals, b);
    });
    while (m_tileRow->count() > 0) {
        delete m_tileRow->takeAt(0);
    }
    for (const FileKind kind : order) {
        KindTile* tile = m_tiles[static_cast<std::size_t>(kind)];
        tile->setFigures(figure(m_scan->kindTotals, kind), figure(m_scan->kindCounts, kind));
        tile->setSelected(kind == m_kind);
        m_tileRow->addWidget(tile);
    }
    m_tileRow->addStretch(1);
}

// The scan counts every file of a kind, the small ones too; the live nodes of the kind are
// the ones with rows. A deletion takes its nodes off the counts as well, so the difference
// stays the number of small files.
std::optional<std::int64_t> TypesView::smallFiles() const {
    if (m_filter != FileFilter{}) {
        return std::nullopt;
    }
    const std::int64_t small =
        figure(m_scan->kindCounts, m_kind) - static_cast<std::int64_t>(m_listing.nodes.size());
    return small > 0 ? std::optional(small) : std::nullopt;
}

void TypesView::refresh() {
    orderTiles();
    m_listing =
        FileListing::of(m_kindFiles[static_cast<std::size_t>(m_kind)], m_filter,
                        m_state.services().clock.now(), m_state.services().locations.dataVolume);
    m_filterBar->setResult(static_cast<std::int64_t>(m_listing.nodes.size()), m_listing.size);
    const std::optional<std::int64_t> small = smallFiles();
    m_note->setVisible(small.has_value());
    if (small) {
        m_note->setText(tr("Only files over 512 KB are listed. The remaining %1 smaller files "
                           "still count toward the totals.")
                            .arg(QLocale().toString(qint64{*small})));
    }
    m_table->setNodes(m_scan, m_listing.nodes);
}

void TypesView::exportListed() {
    FilesCSV::write(m_state.services().fileDialogs, m_listing.nodes,
                    tr("Dorvale-") + kindTitle(m_kind), m_state.services().locations.dataVolume);
}

} // namespace dorvale
