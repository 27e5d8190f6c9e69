#include "analysis/FilesTable.hpp"

#include "analysis/FilesModel.hpp"
#include "analysis/NodeCells.hpp"
#include "analysis/NodeContextMenu.hpp"
#include "analysis/NodePlan.hpp"
#include "analysis/NodeSelection.hpp"
#include "app/AppState.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/NameRanks.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/SelectionBar.hpp"

#include <QKeyEvent>
#include <QVBoxLayout>

#include <array>
#include <unordered_set>

namespace dorvale {

namespace {

constexpr std::array<ListTable::Width, 7> nominalWidths = {{
    {220, 360}, // Name
    {140, 180}, // Size
    {60, 80},   // Kind
    {80, 130},  // Category
    {80, 100},  // Modified
    {80, 110},  // Last opened
    {80, 90},   // Risk
}};

} // namespace

FilesTable::FilesTable(AppState& state, const PreviewPresenter& presenter, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new FilesModel(state.services().safety, state.services().locations,
                             state.services().clock, this))
    , m_table(new ListTable(
          *m_model, nodeColumnWidths(font(), nominalWidths, FilesModel::Modified, FilesModel::Risk),
          FilesModel::Name, NameDelegate::rowHeight(font())))
    , m_selectionBar(new SelectionBar(tr("Delete…"))) {
    setObjectName(QStringLiteral("filesTable"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    makeTable();
    layout->addWidget(m_table, 1);
    m_selectionBar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(m_selectionBar);
    connect(m_selectionBar, &SelectionBar::clearRequested, this, [this] { m_selection->clear(); });
    connect(m_selectionBar, &SelectionBar::actionRequested, this,
            [this] { requestNodeDeletion(m_state, selectedNodes()); });
    connect(m_selection, &RowSelection::changed, this, &FilesTable::updateSelectionBar);
    if (presenter) {
        presenter(m_preview, *this);
    }
}

void FilesTable::makeTable() {
    m_table->setObjectName(QStringLiteral("filesTableView"));
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setItemDelegateForColumn(FilesModel::Name, new NodeNameDelegate(m_table));
    m_table->setItemDelegateForColumn(FilesModel::Size, new SizeBarDelegate(m_table));
    m_table->setItemDelegateForColumn(FilesModel::Kind, new DotLabelDelegate(m_table));
    for (const int column : {FilesModel::Category, FilesModel::Modified, FilesModel::LastOpened}) {
        m_table->setItemDelegateForColumn(column, new FigureDelegate(m_table));
    }
    m_table->setItemDelegateForColumn(FilesModel::Risk, new RiskDelegate(false, m_table));
    m_table->installEventFilter(this);
    m_selection = new Selection(*m_model, *m_table->selectionModel());
    connect(m_table, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { reveal({m_model->keyAt(index.row())}); });
    attachRowMenu(*m_table, [this](QMenu& menu, int row) {
        NodeContextMenu(m_state, m_scan, m_selection->menuKeys(row), &m_preview).populate(menu);
    });
}

void FilesTable::setNodes(std::shared_ptr<const ScanResult> scan,
                          std::vector<const FileNode*> nodes) {
    if (scan != m_scan) {
        m_scan = scan;
        m_model->setNameRanks(nullptr);
        NameRanks::rankInBackground(this, m_scan, [this](std::shared_ptr<const NameRanks> ranks) {
            m_model->setNameRanks(std::move(ranks));
        });
    }
    if (m_model->setNodes(std::move(scan), std::move(nodes))) {
        pruneSelection();
    }
}

// Nodes that left the list leave the selection, so they cannot come back selected.
void FilesTable::pruneSelection() {
    const std::unordered_set<const FileNode*>& held = m_selection->keys();
    std::unordered_set<const FileNode*> kept;
    for (const FileNode* node : held) {
        if (m_model->rowOf(node) >= 0) {
            kept.insert(node);
        }
    }
    if (kept.size() != held.size()) {
        m_selection->setKeys(std::move(kept));
    } else {
        m_selection->mirror();
        updateSelectionBar();
    }
}

std::vector<const FileNode*> FilesTable::selectedNodes() const {
    return m_selection->liveKeys();
}

void FilesTable::reveal(const std::vector<const FileNode*>& nodes) {
    const std::vector<const FileNode*> rows = m_model->rowsOf(nodes);
    if (!rows.empty()) {
        m_state.services().workspace.reveal({rows.front()->path()});
    }
}

void FilesTable::updateSelectionBar() {
    showSelection(*m_selectionBar, selectedNodes());
}

bool FilesTable::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        return handleSelectionKey(
            static_cast<QKeyEvent*>(event)->key(), selectedNodes(), m_preview,
            [this](const std::vector<const FileNode*>& nodes) { reveal(nodes); });
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dorvale
