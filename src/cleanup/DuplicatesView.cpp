#include "cleanup/DuplicatesView.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/PlanItem.hpp"
#include "cleanup/DuplicateRowDelegate.hpp"
#include "cleanup/DuplicatesModel.hpp"
#include "common/ScanPrompt.hpp"
#include "platform/Paths.hpp"
#include "style/Theme.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/EmptyState.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SelectionBar.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace dorvale {

namespace {

// The pages of the body, in the order their conditions are tried.
enum Body : int { Prompt, Comparing, Idle, Results };

constexpr int progressSteps = 1000;
constexpr int progressWidth = 320;

} // namespace

DuplicatesView::DuplicatesView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_model(new DuplicatesModel(state.services().locations, this))
    , m_find(new IconButton(QStringLiteral("magnifyingglass"), tr("Find Duplicates")))
    , m_body(new QStackedWidget)
    , m_selectionBar(new SelectionBar(tr("Delete…"))) {
    setObjectName(QStringLiteral("duplicatesView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new PageHeader(tr("Duplicates"),
                                  tr("Byte-for-byte identical files (SHA-256). The oldest copy is "
                                     "suggested as the one to keep."));
    header->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    m_find->setObjectName(QStringLiteral("findDuplicatesButton"));
    m_find->setLabel(tr("Find Duplicates"));
    header->addTrailingWidget(m_find);
    layout->addWidget(header);

    const ScanPrompt::Texts texts = *ScanPrompt::textsFor(AppSection::Duplicates);
    m_body->setObjectName(QStringLiteral("duplicatesBody"));
    auto* prompt = new ScanPrompt(state, texts.title, texts.message);
    prompt->setObjectName(QStringLiteral("duplicatesPrompt"));
    m_body->insertWidget(Prompt, prompt);
    m_body->insertWidget(Comparing, makeComparing());
    auto* idle =
        new EmptyState(QStringLiteral("doc.on.doc"), tr("Click “Find Duplicates” to get started."));
    idle->setObjectName(QStringLiteral("duplicatesIdle"));
    m_body->insertWidget(Idle, idle);
    m_body->insertWidget(Results, makeResults());
    layout->addWidget(m_body, 1);

    m_selectionBar->setObjectName(QStringLiteral("selectionBar"));
    layout->addWidget(m_selectionBar);

    connect(m_find, &QAbstractButton::clicked, this, &DuplicatesView::findDuplicates);
    connect(m_selectionBar, &SelectionBar::clearRequested, this,
            [this] { m_model->setSelected({}); });
    connect(m_selectionBar, &SelectionBar::actionRequested, this, &DuplicatesView::deleteSelection);
    connect(m_model, &DuplicatesModel::selectionChanged, this, &DuplicatesView::updateSelectionBar);
    // A node of a replaced scan may share its address with a file of the new one.
    connect(&m_state, &AppState::scanChanged, this, [this] {
        m_model->setSelected({});
        rebuild();
    });
    // A deletion takes its files out of the groups and announces them changed.
    connect(&m_state, &AppState::duplicatesChanged, this, &DuplicatesView::rebuild);
    connect(&m_state, &AppState::duplicatesProgressChanged, this, &DuplicatesView::showState);
    rebuild();
}

QWidget* DuplicatesView::makeComparing() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("duplicatesComparing"));
    auto* layout = new QVBoxLayout(page);
    layout->addStretch(1);
    auto* label = new ElidedLabel(tr("Comparing contents…"));
    label->setObjectName(QStringLiteral("comparingLabel"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("comparingProgress"));
    m_progress->setRange(0, progressSteps);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(label->text());
    auto* column = new QVBoxLayout;
    column->setSpacing(Theme::Space::tight);
    column->addWidget(label);
    column->addWidget(m_progress);
    auto* box = new QWidget;
    box->setLayout(column);
    box->setFixedWidth(progressWidth);
    layout->addWidget(box, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return page;
}

QWidget* DuplicatesView::makeResults() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("duplicatesResults"));
    auto* layout = new QVBoxLayout(page);
    // The list's rows are inset by the kit's margin, so their texts line up with the summary.
    const int inset = Theme::Space::page - Theme::Space::small;
    layout->setContentsMargins(inset, 0, inset, 0);
    layout->setSpacing(Theme::Space::small);
    auto* summary = new QHBoxLayout;
    summary->setContentsMargins(Theme::Space::small, 0, Theme::Space::small, 0);
    m_summary = new ElidedLabel;
    m_summary->setObjectName(QStringLiteral("duplicatesSummary"));
    m_summary->setTextStyle(TextStyle::Headline);
    summary->addWidget(m_summary, 1);
    auto* selectAll = new QPushButton(tr("Select All Copies"));
    selectAll->setObjectName(QStringLiteral("selectAllCopiesButton"));
    connect(selectAll, &QPushButton::clicked, m_model, &DuplicatesModel::selectAllCopies);
    summary->addWidget(selectAll);
    layout->addLayout(summary);

    m_list = new SectionedList;
    m_list->setObjectName(QStringLiteral("duplicatesList"));
    m_list->setAccessibleName(tr("Duplicate groups"));
    m_list->setItemDelegate(new DuplicateRowDelegate(m_list->itemDelegate(), m_list));
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setItemsExpandable(false);
    m_list->setModel(m_model);
    attachIndexMenu(*m_list, [this](QMenu& menu, const QModelIndex& index) {
        populateRowMenu(menu, m_model->fileAt(index));
    });
    layout->addWidget(m_list, 1);
    return page;
}

void DuplicatesView::findDuplicates() {
    m_state.findDuplicates();
    m_model->setSelected({});
}

void DuplicatesView::deleteSelection() {
    if (m_model->selectionTakesAWholeGroup()) {
        m_state.setToast(Toast{.message = tr("Keep at least one copy in each group")});
        return;
    }
    std::vector<PlanCandidate> items;
    for (const FileNode* file : m_model->selectedFiles()) {
        std::string path = file->path();
        std::string name(lastComponent(path));
        items.push_back({.path = std::move(path),
                         .name = std::move(name),
                         .size = file->size(),
                         .removal = Removal::Trash});
    }
    m_state.planDeletion(tr("Delete Duplicate Copies"), std::move(items));
}

void DuplicatesView::populateRowMenu(QMenu& menu, const FileNode* file) {
    if (file == nullptr) {
        return;
    }
    QAction* reveal = menu.addAction(tr("Show in Finder"));
    reveal->setObjectName(QStringLiteral("revealAction"));
    connect(reveal, &QAction::triggered, &menu,
            [this, path = file->path()] { m_state.services().workspace.reveal({path}); });
}

void DuplicatesView::rebuild() {
    m_model->setGroups(m_state.scan(), m_state.duplicates());
    m_list->expandAll();
    const auto groups = static_cast<qint64>(m_model->groups().size());
    m_summary->setText(tr("%1 groups · %2 recoverable")
                           .arg(QString::number(groups), byteText(m_model->recoverable())));
    showState();
    updateSelectionBar();
}

void DuplicatesView::showState() {
    const bool scanned = m_state.scan() != nullptr;
    const std::optional<double>& progress = m_state.duplicatesProgress();
    m_find->setVisible(scanned);
    m_find->setEnabled(!progress.has_value());
    if (progress) {
        m_progress->setValue(
            static_cast<int>(std::lround(std::clamp(*progress, 0.0, 1.0) * progressSteps)));
    }
    if (!scanned) {
        m_body->setCurrentIndex(Prompt);
    } else if (progress) {
        m_body->setCurrentIndex(Comparing);
    } else {
        m_body->setCurrentIndex(m_model->groups().empty() ? Idle : Results);
    }
}

void DuplicatesView::updateSelectionBar() {
    std::int64_t size = 0;
    const std::vector<const FileNode*> files = m_model->selectedFiles();
    for (const FileNode* file : files) {
        size += file->size();
    }
    m_selectionBar->setSelection(static_cast<std::int64_t>(files.size()), size);
}

} // namespace dorvale
