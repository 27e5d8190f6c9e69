#include "analysis/ExplorerView.hpp"

#include "analysis/Breadcrumbs.hpp"
#include "analysis/ExplorerModel.hpp"
#include "analysis/MapSidePanel.hpp"
#include "analysis/NodeCells.hpp"
#include "analysis/NodeContextMenu.hpp"
#include "analysis/NodePlan.hpp"
#include "analysis/NodeSelection.hpp"
#include "analysis/SunburstView.hpp"
#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/PathText.hpp"
#include "app/SettingsKeys.hpp"
#include "common/ScanPage.hpp"
#include "common/ScanPrompt.hpp"
#include "style/Theme.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/NameRanks.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/SegmentedBar.hpp"
#include "widgets/SelectionBar.hpp"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <array>

namespace dorvale {

namespace {

constexpr int mapDepth = 5;
constexpr int barHeight = 14;
constexpr std::size_t barSegments = 12;
constexpr int rowHeight = 28;
constexpr int mapMargin = Theme::Space::medium;
constexpr int captionMargin = Theme::Space::snug;

// Least and preferred widths of the list's columns.
constexpr std::array<ListTable::Width, 7> nominalWidths = {{
    {220, 340}, // Name
    {130, 200}, // Size
    {50, 50},   // %
    {50, 80},   // Files
    {80, 140},  // Category
    {80, 100},  // Modified
    {80, 90},   // Risk
}};

ElidedLabel* label(TextStyle style, Tone tone, const char* name) {
    auto* label = new ElidedLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextStyle(style);
    label->setTone(tone);
    return label;
}

std::vector<Segment> composition(const FileNode& folder) {
    std::vector<const FileNode*> children;
    for (const FileNode* child : folder.children()) {
        if (!child->deleted()) {
            children.push_back(child);
        }
    }
    sortBySizeDescending(children);
    if (children.size() > barSegments) {
        children.resize(barSegments);
    }
    std::vector<Segment> segments;
    for (const FileNode* child : children) {
        const QString name = pathText(child->name());
        segments.push_back({name, name, child->size(), Theme::bucketColor(child->bucket())});
    }
    return segments;
}

ExplorerMode storedMode(AppState& state) {
    const auto raw = state.settingsStore().textValue(SettingsKeys::explorerMode);
    return raw ? explorerModeFromRaw(*raw).value_or(ExplorerMode::List) : ExplorerMode::List;
}

} // namespace

ExplorerView::ExplorerView(AppState& state, std::shared_ptr<const ScanResult> scan,
                           const PreviewPresenter& presenter, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_scan(std::move(scan))
    , m_mode(storedMode(state))
    , m_model(new ExplorerModel(state.services().safety, this)) {
    setObjectName(QStringLiteral("explorerView"));
    m_model->setFolder(m_scan, currentFolder());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(Theme::Space::medium + 2);
    layout->addWidget(makeHeader());
    m_content = new QStackedWidget;
    m_content->addWidget(makeList());
    m_content->addWidget(makeMap());
    layout->addWidget(m_content, 1);
    m_selectionBar = new SelectionBar(tr("Delete…"));
    m_selectionBar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(m_selectionBar);
    connect(m_selectionBar, &SelectionBar::clearRequested, this, [this] { m_selection->clear(); });
    connect(m_selectionBar, &SelectionBar::actionRequested, this,
            [this] { deleteSelection(selectedNodes()); });
    connect(m_selection, &RowSelection::changed, this, &ExplorerView::updateSelectionBar);
    connect(&m_state, &AppState::explorerStackChanged, this, &ExplorerView::showFolder);
    connect(&m_state, &AppState::revisionChanged, this, &ExplorerView::refresh);
    if (presenter) {
        presenter(m_preview, *this);
    }
    NameRanks::rankInBackground(this, m_scan, [this](std::shared_ptr<const NameRanks> ranks) {
        m_model->setNameRanks(std::move(ranks));
    });
    setMode(m_mode);
    showFolder();
}

QWidget* ExplorerView::makePage(AppState& state, PreviewPresenter presenter) {
    const auto texts = ScanPrompt::textsFor(AppSection::Explorer);
    return new ScanPage(state, *texts,
                        [&state, presenter](std::shared_ptr<const ScanResult> scan) -> QWidget* {
                            return new ExplorerView(state, std::move(scan), presenter);
                        });
}

QWidget* ExplorerView::makeHeader() {
    auto* header = new QWidget;
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page, 0);
    layout->setSpacing(Theme::Space::medium);
    auto* first = new QHBoxLayout;
    m_breadcrumbs = new Breadcrumbs(m_state);
    first->addWidget(m_breadcrumbs, 1);
    m_modes = new QButtonGroup(this);
    auto* picker = new QHBoxLayout;
    picker->setSpacing(0);
    for (const ExplorerMode mode : allExplorerModes) {
        auto* button = new IconButton(symbolName(mode), title(mode));
        button->setObjectName(QString::fromLatin1(rawValue(mode).data()) +
                              QStringLiteral("ModeButton"));
        button->setCheckable(true);
        m_modes->addButton(button, static_cast<int>(mode));
        picker->addWidget(button);
    }
    connect(m_modes, &QButtonGroup::idClicked, this, [this](int id) {
        const auto mode = static_cast<ExplorerMode>(id);
        m_state.settingsStore().setText(SettingsKeys::explorerMode, std::string(rawValue(mode)));
        setMode(mode);
    });
    first->addLayout(picker);
    layout->addLayout(first);
    auto* second = new QHBoxLayout;
    second->setSpacing(Theme::Space::medium);
    m_title = label(TextStyle::PageTitle, Tone::Primary, "folderTitle");
    m_size = label(TextStyle::Title3, Tone::Secondary, "folderSize");
    m_size->setTextStyle(TextStyle::Title3, Digits::Tabular);
    m_size->setElideMode(Qt::ElideNone);
    m_files = label(TextStyle::Body, Tone::Secondary, "folderFiles");
    m_files->setElideMode(Qt::ElideNone);
    second->addWidget(m_title, 0, Qt::AlignBaseline);
    second->addWidget(m_size, 0, Qt::AlignBaseline);
    second->addStretch(1);
    second->addWidget(m_files, 0, Qt::AlignBaseline);
    layout->addLayout(second);
    m_bar = new SegmentedBar({}, 0, barHeight);
    m_bar->setObjectName(QStringLiteral("compositionBar"));
    layout->addWidget(m_bar);
    return header;
}

QWidget* ExplorerView::makeList() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    layout->setSpacing(0);
    m_table = new ListTable(
        *m_model,
        nodeColumnWidths(font(), nominalWidths, ExplorerModel::Modified, ExplorerModel::Risk),
        ExplorerModel::Name, rowHeight);
    m_table->setObjectName(QStringLiteral("explorerTable"));
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setItemDelegateForColumn(ExplorerModel::Name, new NodeNameDelegate(m_table));
    m_table->setItemDelegateForColumn(ExplorerModel::Size, new SizeBarDelegate(m_table));
    for (const int column : {ExplorerModel::Share, ExplorerModel::Files, ExplorerModel::Modified}) {
        m_table->setItemDelegateForColumn(column, new FigureDelegate(m_table));
    }
    m_table->setItemDelegateForColumn(ExplorerModel::Category, new DotLabelDelegate(m_table));
    m_table->setItemDelegateForColumn(ExplorerModel::Risk, new RiskDelegate(false, m_table));
    m_table->installEventFilter(this);
    m_selection = new Selection(*m_model, *m_table->selectionModel());
    connect(m_table, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openOrReveal({m_model->keyAt(index.row())}); });
    attachRowMenu(*m_table, [this](QMenu& menu, int row) {
        NodeContextMenu(m_state, m_scan, m_selection->menuKeys(row), &m_preview).populate(menu);
    });
    layout->addWidget(m_table, 1);
    m_smallFiles = label(TextStyle::Caption, Tone::Secondary, "smallFilesCaption");
    m_smallFiles->setContentsMargins(0, captionMargin, 0, captionMargin);
    layout->addWidget(m_smallFiles);
    return page;
}

QWidget* ExplorerView::makeMap() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(mapMargin, 0, Theme::Space::page, 0);
    layout->setSpacing(mapMargin);
    m_sunburst = new SunburstView(m_scan, currentFolder(), mapDepth,
                                  m_state.services().locations.dataVolume);
    m_sidePanel = new MapSidePanel(m_state, m_scan, currentFolder());
    layout->addWidget(m_sunburst, 1);
    layout->addWidget(m_sidePanel, 0, Qt::AlignTop);
    connect(m_sunburst, &SunburstView::openRequested, this, &ExplorerView::changeFolder);
    connect(m_sunburst, &SunburstView::upRequested, this, &ExplorerView::goBack);
    connect(m_sunburst, &SunburstView::hoveredChanged, this, [this](const FileNode* node) {
        m_mapFocus = node;
        m_sidePanel->setFocusNode(node);
    });
    return page;
}

const FileNode* ExplorerView::currentFolder() const {
    const std::vector<const FileNode*>& stack = m_state.explorerStack();
    return stack.empty() ? m_scan->root : stack.back();
}

void ExplorerView::setMode(ExplorerMode mode) {
    m_mode = mode;
    m_modes->button(static_cast<int>(mode))->setChecked(true);
    m_content->setCurrentIndex(mode == ExplorerMode::Map ? 1 : 0);
    m_bar->setVisible(mode == ExplorerMode::List);
}

std::vector<const FileNode*> ExplorerView::selectedNodes() const {
    return m_selection->liveKeys();
}

void ExplorerView::changeFolder(const FileNode* folder) {
    m_selection->clear();
    m_mapFocus = nullptr;
    std::vector<const FileNode*> stack = m_state.explorerStack();
    stack.push_back(folder);
    m_state.setExplorerStack(std::move(stack));
}

void ExplorerView::goBack() {
    std::vector<const FileNode*> stack = m_state.explorerStack();
    if (stack.size() > 1) {
        m_mapFocus = nullptr;
        stack.pop_back();
        m_state.setExplorerStack(std::move(stack));
    }
}

void ExplorerView::deleteSelection(const std::vector<const FileNode*>& nodes) {
    requestNodeDeletion(m_state, nodes);
}

void ExplorerView::openOrReveal(const std::vector<const FileNode*>& nodes) {
    const std::vector<const FileNode*> rows = m_model->rowsOf(nodes);
    if (rows.empty()) {
        return;
    }
    const FileNode* first = rows.front();
    if (first->isDirectory() && !first->isPackage()) {
        changeFolder(first);
    } else {
        m_state.services().workspace.reveal({first->path()});
    }
}

void ExplorerView::showFolder() {
    const FileNode* folder = currentFolder();
    m_model->setFolder(m_scan, folder);
    m_sunburst->setRoot(folder);
    m_sidePanel->setCurrent(folder);
    m_mapFocus = nullptr;
    updateHeader();
    updateSelectionBar();
}

// Nodes were deleted: the rows, the figures, the bar and the map show what is left.
void ExplorerView::refresh() {
    m_model->refresh();
    m_sunburst->relayout();
    m_sidePanel->setCurrent(currentFolder());
    m_mapFocus = nullptr;
    updateHeader();
    updateSelectionBar();
}

void ExplorerView::updateHeader() {
    const FileNode& folder = *currentFolder();
    const std::optional<ScanTarget>& target = m_state.scannedTarget();
    m_title->setText(folder.parent() == nullptr && target ? target->title()
                                                          : pathText(folder.name()));
    m_size->setText(byteText(folder.size()));
    m_files->setText(folder.fileCount() == 1
                         ? tr("1 file")
                         : tr("%1 files").arg(QLocale().toString(qint64{folder.fileCount()})));
    m_bar->setSegments(composition(folder), folder.size());
    m_smallFiles->setVisible(folder.smallFilesCount() >= 1);
    m_smallFiles->setText(tr("Also: %1 small files directly in this folder · %2")
                              .arg(QLocale().toString(qint64{folder.smallFilesCount()}),
                                   byteText(folder.smallFilesSize())));
}

void ExplorerView::updateSelectionBar() {
    showSelection(*m_selectionBar, selectedNodes());
}

bool ExplorerView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        return handleSelectionKey(
            static_cast<QKeyEvent*>(event)->key(), selectedNodes(), m_preview,
            [this](const std::vector<const FileNode*>& nodes) { openOrReveal(nodes); });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dorvale
