#include "cleanup/HistoryView.hpp"

#include "app/AppState.hpp"
#include "cleanup/FailuresCard.hpp"
#include "cleanup/HistoryCells.hpp"
#include "cleanup/HistoryModel.hpp"
#include "style/Theme.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/PageHeader.hpp"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace dorvale {

namespace {

constexpr int stackSpacing = Theme::Space::medium + 2;

// Least and preferred widths of the columns; the item takes what is left.
struct ColumnWidth {
    int least;
    int preferred;
};
constexpr std::array<ColumnWidth, 5> columnWidths = {{
    {120, 150}, // Date
    {260, 420}, // Item
    {70, 90},   // Size
    {80, 90},   // Method
    {90, 90},   // Restore
}};

} // namespace

HistoryView::HistoryView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new HistoryModel(state.services().locations, this))
    , m_clear(new QPushButton(tr("Clear History")))
    , m_failures(new FailuresCard(state.services().locations))
    , m_table(makeTable())
    , m_selection(new Selection(*m_model, *m_table->selectionModel())) {
    setObjectName(QStringLiteral("historyView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(stackSpacing);
    auto* header = new PageHeader(tr("History"),
                                  tr("Everything Dorvale has deleted. Anything still in the Trash "
                                     "can be restored to its original location."));
    header->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page, 0);
    m_clear->setObjectName(QStringLiteral("clearHistoryButton"));
    header->addTrailingWidget(m_clear);
    layout->addWidget(header);
    auto* failures = new QVBoxLayout;
    failures->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    failures->addWidget(m_failures);
    layout->addLayout(failures);
    auto* table = new QVBoxLayout;
    table->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, Theme::Space::page);
    table->addWidget(m_table);
    layout->addLayout(table, 1);

    connect(m_clear, &QPushButton::clicked, this, [this] { m_state.clearHistory(); });
    connect(&m_state, &AppState::historyChanged, this, &HistoryView::refresh);
    connect(&m_state, &AppState::failuresChanged, this,
            [this] { m_failures->setFailures(m_state.failures()); });
    m_failures->setFailures(m_state.failures());
    refresh();
}

QTableView* HistoryView::makeTable() {
    auto* table = new QTableView;
    table->setObjectName(QStringLiteral("historyTable"));
    table->setAccessibleName(tr("Deleted items"));
    table->setModel(m_model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(NameDelegate::rowHeight(table->font()));
    QHeaderView* header = table->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setMinimumSectionSize(columnWidths[HistoryModel::Size].least);
    for (int column = 0; column < static_cast<int>(columnWidths.size()); ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, columnWidths[static_cast<std::size_t>(column)].preferred);
    }
    header->setSectionResizeMode(HistoryModel::Item, QHeaderView::Stretch);
    header->setSectionResizeMode(HistoryModel::Restore, QHeaderView::Fixed);
    table->setItemDelegateForColumn(HistoryModel::Item, new NameDelegate(table));
    for (const int column : {HistoryModel::Date, HistoryModel::Size, HistoryModel::Method}) {
        table->setItemDelegateForColumn(column, new FigureDelegate(table));
    }
    auto* restore = new CellButtonDelegate(table);
    table->setItemDelegateForColumn(HistoryModel::Restore, restore);
    connect(restore, &CellButtonDelegate::clicked, this, &HistoryView::restoreRow);
    connect(table, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.column() == HistoryModel::Restore) {
            restoreRow(index.row());
        }
    });
    return table;
}

void HistoryView::restoreRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        return;
    }
    m_state.restore({m_model->rowAt(row)}, AppState::RestoreFeedback::Silent);
}

void HistoryView::refresh() {
    m_model->setRows(m_state.history().entries());
    m_clear->setEnabled(!m_state.history().entries().empty());
}

} // namespace dorvale
