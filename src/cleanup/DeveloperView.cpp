#include "cleanup/DeveloperView.hpp"

#include "app/AppState.hpp"
#include "cleanup/DevItemsModel.hpp"
#include "cleanup/PageParts.hpp"
#include "cleanup/SymbolNote.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/SelectionBar.hpp"

#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int iconSize = 18;

// "What It Is" takes what the other columns leave.
std::vector<ListTable::Width> columnWidths() {
    return {{260, 380}, {160, 240}, {80, 90}, {100, 120}};
}

} // namespace

DeveloperView::DeveloperView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new DevItemsModel(state.services().locations, state.services().clock, this)) {
    setObjectName(QStringLiteral("developerView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(withPageMargins(
        new PageHeader(tr("Developer"), tr("Dependencies and build artifacts that can be "
                                           "regenerated: node_modules, virtual environments, "
                                           "DerivedData, package caches.")),
        PageEdges::SidesAndTop));
    auto* note = new SymbolNote(QStringLiteral("info.circle"),
                                tr("Scan your disk (or your home folder) to find node_modules "
                                   "and virtual environments in your projects."),
                                TextStyle::Body);
    note->setObjectName(QStringLiteral("scanNote"));
    m_scanNote = withPageMargins(note);
    layout->addWidget(m_scanNote);
    layout->addWidget(makeTable(), 1);
    // Each published scan and each removal from its tree raises the revision.
    connect(&m_state, &AppState::revisionChanged, this, &DeveloperView::refresh);
    connect(&m_state, &AppState::junkChanged, this, &DeveloperView::refresh);
    refresh();
    if (m_state.junk().empty()) {
        m_state.loadJunk();
    }
}

void DeveloperView::confirmDelete(const std::vector<DevItem>& items) {
    std::vector<PlanCandidate> candidates;
    for (const DevItem& item : items) {
        candidates.push_back(
            {.path = item.path, .name = item.title, .size = item.size, .removal = item.removal});
    }
    m_state.planDeletion(tr("Clean Developer Artifacts"), std::move(candidates));
}

QWidget* DeveloperView::makeTable() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* table = new ListTable(*m_model, columnWidths(), DevItemsModel::WhatItIs,
                                NameDelegate::rowHeight(font(), iconSize));
    table->setObjectName(QStringLiteral("developerTable"));
    table->setItemDelegateForColumn(DevItemsModel::Item, new NameDelegate(table, iconSize));
    for (const int column : {DevItemsModel::WhatItIs, DevItemsModel::LastTouched}) {
        table->setItemDelegateForColumn(column, new FigureDelegate(table));
    }
    layout->addWidget(withPageMargins(table), 1);
    auto* bar = new SelectionBar(tr("Delete…"));
    bar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(bar);
    m_list = new PathRecordList<DevItem>(
        *this, *m_model, *table, *bar, m_state.services().workspace,
        [this](const std::vector<DevItem>& selected) { confirmDelete(selected); });
    return page;
}

// The rows walk the whole tree, so they are found once per change, not per paint.
void DeveloperView::refresh() {
    m_scanNote->setVisible(m_state.scan() == nullptr);
    m_model->setItems(m_state.findDeveloperArtefacts());
}

} // namespace dorvale
