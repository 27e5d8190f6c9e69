#include "cleanup/JunkView.hpp"

#include "app/AppState.hpp"
#include "cleanup/JunkGroups.hpp"
#include "cleanup/JunkModel.hpp"
#include "cleanup/JunkPlan.hpp"
#include "cleanup/JunkRowDelegate.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SelectionBar.hpp"

#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace dorvale {

namespace {

constexpr int spinnerSize = 28;

enum BodyPage { SearchingPage, ListPage };

std::string keyOf(const QModelIndex& index) {
    return index.data(JunkModel::KeyRole).toByteArray().toStdString();
}

} // namespace

JunkView::JunkView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new JunkModel(state.services().locations, this)) {
    setObjectName(QStringLiteral("junkView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(makeBody(), 1);
    m_selectionBar = new SelectionBar(tr("Clean…"));
    m_selectionBar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(m_selectionBar);
    connect(m_selectionBar, &SelectionBar::clearRequested, this,
            [this] { m_model->clearSelection(); });
    connect(m_selectionBar, &SelectionBar::actionRequested, this, &JunkView::cleanSelection);
    connect(m_model, &JunkModel::selectionChanged, this, &JunkView::showSelection);
    connect(&m_state, &AppState::junkChanged, this, &JunkView::showJunk);
    connect(&m_state, &AppState::junkLoadingChanged, this, &JunkView::showLoading);
    connect(&m_state, &AppState::revisionChanged, this, [this] { m_model->pruneSelection(); });
    showJunk();
}

QWidget* JunkView::makeHeader() {
    auto* header = new PageHeader(tr("Junk"), tr("Everything Quick Clean checks, item by item."));
    header->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    m_scanAgain =
        new QPushButton(Symbols::icon(QStringLiteral("arrow.clockwise")), tr("Scan Again"));
    m_scanAgain->setObjectName(QStringLiteral("scanAgainButton"));
    m_scanAgain->setProperty("symbol", QStringLiteral("arrow.clockwise"));
    connect(m_scanAgain, &QPushButton::clicked, this, [this] { m_state.loadJunk(); });
    header->addTrailingWidget(m_scanAgain);
    return header;
}

QWidget* JunkView::makeBody() {
    auto* searching = new QWidget;
    auto* column = new QVBoxLayout(searching);
    column->addStretch(1);
    auto* spinner = new ActivitySpinner(spinnerSize);
    spinner->setObjectName(QStringLiteral("searchSpinner"));
    column->addWidget(spinner, 0, Qt::AlignHCenter);
    auto* label = new ElidedLabel(tr("Searching…"));
    label->setObjectName(QStringLiteral("searchingLabel"));
    label->setTone(Tone::Secondary);
    label->setAlignment(Qt::AlignHCenter);
    column->addWidget(label);
    column->addStretch(1);

    m_list = new SectionedList;
    m_list->setObjectName(QStringLiteral("junkList"));
    m_list->setAccessibleName(tr("Junk"));
    auto* delegate = new JunkRowDelegate(m_list);
    m_list->setItemDelegate(delegate);
    m_list->setModel(m_model);
    m_list->setExpandsOnDoubleClick(false);
    m_list->keepSectionsOpen();
    m_list->setContentsMargins(Theme::Space::page - Theme::Space::small, 0,
                               Theme::Space::page - Theme::Space::small, 0);
    connect(delegate, &JunkRowDelegate::ruleClicked, this, [this](const QModelIndex& index) {
        m_list->setExpanded(index, !m_list->isExpanded(index));
    });
    connect(m_list, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { trackOpening(index, true); });
    connect(m_list, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { trackOpening(index, false); });
    attachIndexMenu(*m_list, [this](QMenu& menu, const QModelIndex& index) {
        const JunkItem* item = m_model->itemAt(index);
        if (item == nullptr) {
            return;
        }
        QAction* reveal = menu.addAction(tr("Show in Finder"));
        reveal->setObjectName(QStringLiteral("revealAction"));
        connect(reveal, &QAction::triggered, &menu,
                [this, path = item->id] { m_state.services().workspace.reveal({path}); });
    });

    m_body = new QStackedWidget;
    m_body->setObjectName(QStringLiteral("junkBody"));
    m_body->insertWidget(SearchingPage, searching);
    m_body->insertWidget(ListPage, m_list);
    return m_body;
}

void JunkView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_appeared) {
        return;
    }
    m_appeared = true;
    // A search already running publishes what this one would.
    if (!holdsJunk(m_state.junk()) && !m_state.junkLoading()) {
        m_state.loadJunk();
    }
}

void JunkView::showJunk() {
    m_model->setJunk(m_state.junk());
    reopenRules();
    showLoading();
    showSelection();
}

void JunkView::showLoading() {
    const bool loading = m_state.junkLoading();
    m_scanAgain->setEnabled(!loading);
    m_body->setCurrentIndex(loading && !holdsJunk(m_state.junk()) ? SearchingPage : ListPage);
}

void JunkView::showSelection() {
    const JunkSelection& selection = m_model->selection();
    m_selectionBar->setSelection(selection.count(), selection.bytes());
}

void JunkView::reopenRules() {
    for (const std::string& rule : m_expanded) {
        if (const QModelIndex index = m_model->ruleIndex(rule); index.isValid()) {
            m_list->expand(index);
        }
    }
}

void JunkView::trackOpening(const QModelIndex& index, bool open) {
    if (!JunkModel::isRule(index)) {
        return;
    }
    if (open) {
        m_expanded.insert(keyOf(index));
    } else {
        m_expanded.erase(keyOf(index));
    }
}

void JunkView::cleanSelection() {
    requestJunkDeletion(m_state, m_model->selection().selectedItems());
}

} // namespace dorvale
