#include "cleanup/LeftoversView.hpp"

#include "app/AppState.hpp"
#include "cleanup/LeftoversModel.hpp"
#include "cleanup/PageParts.hpp"
#include "cleanup/SymbolNote.hpp"
#include "platform/Paths.hpp"
#include "style/Theme.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/LoadingState.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/SelectionBar.hpp"

#include <QStackedWidget>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int rowHeight = 28;

// The identifier takes what the other columns leave.
std::vector<ListTable::Width> columnWidths() {
    return {{160, 240}, {110, 150}, {80, 90}, {90, 110}};
}

} // namespace

LeftoversView::LeftoversView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new LeftoversModel(this)) {
    setObjectName(QStringLiteral("leftoversView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(withPageMargins(makeHeader(), PageEdges::SidesAndTop));
    m_content = new QStackedWidget;
    auto* loading = new LoadingState(tr("Comparing ~/Library with your installed apps…"));
    loading->setObjectName(QStringLiteral("loadingState"));
    m_content->addWidget(loading);
    m_content->addWidget(makeList());
    layout->addWidget(m_content, 1);
    connect(&m_state, &AppState::leftoversChanged, this,
            [this] { m_model->setLeftovers(m_state.leftovers()); });
    connect(&m_state, &AppState::leftoversLoadingChanged, this, &LeftoversView::showLoading);
    m_model->setLeftovers(m_state.leftovers());
    showLoading();
    if (m_state.leftovers().empty()) {
        m_state.loadLeftovers();
    }
}

void LeftoversView::confirmDelete(const std::vector<Leftover>& leftovers) {
    std::vector<PlanCandidate> candidates;
    for (const Leftover& leftover : leftovers) {
        candidates.push_back({.path = leftover.path,
                              .name = std::string(lastComponent(leftover.path)),
                              .size = leftover.size,
                              .removal = Removal::Trash});
    }
    m_state.planDeletion(tr("Delete App Leftovers"), std::move(candidates));
}

QWidget* LeftoversView::makeHeader() {
    auto* header = new PageHeader(tr("App Leftovers"),
                                  tr("Data in ~/Library from apps that are no longer installed on "
                                     "this Mac."));
    m_search = new IconButton(QStringLiteral("magnifyingglass"), tr("Search"));
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_search->setLabel(tr("Search"));
    connect(m_search, &QToolButton::clicked, this, [this] { m_state.loadLeftovers(); });
    header->addTrailingWidget(m_search);
    return header;
}

// The explanation, the table and the selection bar.
QWidget* LeftoversView::makeList() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    auto* note = new SymbolNote(
        QStringLiteral("info.circle"),
        tr("Only folders named after an identifier (com.company.app) that don’t match any "
           "installed app are listed. Review them: some may belong to a tool without a visible "
           "app."),
        TextStyle::Callout);
    note->setObjectName(QStringLiteral("infoNote"));
    layout->addWidget(withPageMargins(note));
    auto* table = new ListTable(*m_model, columnWidths(), LeftoversModel::Identifier, rowHeight);
    table->setObjectName(QStringLiteral("leftoversTable"));
    for (const int column : {LeftoversModel::Location, LeftoversModel::Modified}) {
        table->setItemDelegateForColumn(column, new FigureDelegate(table));
    }
    layout->addWidget(withPageMargins(table), 1);
    auto* bar = new SelectionBar(tr("Delete…"));
    bar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(bar);
    m_list = new PathRecordList<Leftover>(
        *this, *m_model, *table, *bar, m_state.services().workspace,
        [this](const std::vector<Leftover>& selected) { confirmDelete(selected); });
    return page;
}

void LeftoversView::showLoading() {
    const bool loading = m_state.leftoversLoading();
    m_search->setEnabled(!loading);
    m_content->setCurrentIndex(loading ? 0 : 1);
}

} // namespace dorvale
