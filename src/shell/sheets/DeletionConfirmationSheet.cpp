#include "shell/sheets/DeletionConfirmationSheet.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "app/CountText.hpp"
#include "shell/sheets/DeletionPlanDelegate.hpp"
#include "shell/sheets/DeletionPlanModel.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/DestructiveButton.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/FitMinimumSize.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocumentFragment>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

namespace dorvale {

namespace {

constexpr int headerSymbolSize = 34;
constexpr int minimumListHeight = 260;
constexpr QSize preferredSize(640, 560);
// Narrow enough for a small screen, wide enough for the notices to wrap onto a few lines.
constexpr int leastWidth = 520;

QHBoxLayout* row(QWidget* owner, int spacing) {
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

DeletionConfirmationSheet::DeletionConfirmationSheet(AppState& state, DeletionPlan plan,
                                                     QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_model(new DeletionPlanModel(state.services().locations, this)) {
    setObjectName(QStringLiteral("deletionSheet"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Theme::Space::page, Theme::Space::page, Theme::Space::page,
                               Theme::Space::page);
    layout->setSpacing(Theme::Space::large);
    layout->addWidget(makeHeader());
    layout->addWidget(makeList(), 1);
    layout->addWidget(makeAcknowledgement());
    layout->addWidget(makeProtectedNotice());
    layout->addWidget(makeFooter());
    resize(preferredSize);

    showPlan(std::move(plan));
    showRemovalMode();
    connect(&m_state, &AppState::planChanged, this, &DeletionConfirmationSheet::followPlan);
    connect(&m_state, &AppState::permanentDeleteChanged, this,
            &DeletionConfirmationSheet::showRemovalMode);
}

const DeletionPlan& DeletionConfirmationSheet::plan() const {
    return m_model->plan();
}

void DeletionConfirmationSheet::reject() {
    QDialog::reject();
    const std::optional<DeletionPlan>& current = m_state.plan();
    if (current && current->id == plan().id) {
        m_state.setPlan(std::nullopt);
    }
}

// Texts measure their lines only once the sheet is polished for showing.
void DeletionConfirmationSheet::showEvent(QShowEvent* event) {
    fitMinimumSize(*this, leastWidth);
    QDialog::showEvent(event);
}

// A click on the acknowledgement's text toggles its box, as a check box's own text would.
bool DeletionConfirmationSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_acknowledgeText && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_acknowledgeBox->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QWidget* DeletionConfirmationSheet::makeHeader() {
    auto* header = new QWidget;
    QHBoxLayout* layout = row(header, Theme::Space::medium);
    auto* symbol = new SymbolIcon(QStringLiteral("trash.circle.fill"), headerSymbolSize);
    symbol->setGradient(Theme::danger());
    layout->addWidget(symbol, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(Theme::Space::hairline);
    m_title = new ElidedLabel;
    m_title->setObjectName(QStringLiteral("deletionSheetTitle"));
    m_title->setTextStyle(TextStyle::Title2, FontWeight::Bold);
    m_notice = new WrappingLabel;
    m_notice->setObjectName(QStringLiteral("removalNotice"));
    m_notice->setTone(Tone::Secondary);
    texts->addWidget(m_title);
    texts->addWidget(m_notice);
    layout->addLayout(texts, 1);
    return header;
}

QTreeView* DeletionConfirmationSheet::makeList() {
    m_list = new QTreeView;
    m_list->setObjectName(QStringLiteral("planList"));
    m_list->setAccessibleName(tr("Items to delete"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new DeletionPlanDelegate(m_list));
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setIndentation(0);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Item scrolling keeps the view from measuring every row of a long plan.
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumHeight(minimumListHeight);
    return m_list;
}

QWidget* DeletionConfirmationSheet::makeAcknowledgement() {
    m_acknowledgement = new QWidget;
    QHBoxLayout* layout = row(m_acknowledgement, Theme::Space::snug);
    m_acknowledgeBox = new QCheckBox;
    m_acknowledgeBox->setObjectName(QStringLiteral("reviewAcknowledgement"));
    m_acknowledgeText = new QLabel;
    m_acknowledgeText->setObjectName(QStringLiteral("reviewAcknowledgementText"));
    m_acknowledgeText->setTextFormat(Qt::RichText);
    m_acknowledgeText->setWordWrap(true);
    m_acknowledgeText->installEventFilter(this);
    layout->addWidget(m_acknowledgeBox, 0, Qt::AlignTop);
    layout->addWidget(m_acknowledgeText, 1);
    connect(m_acknowledgeBox, &QCheckBox::toggled, this,
            &DeletionConfirmationSheet::setReviewAccepted);
    return m_acknowledgement;
}

QWidget* DeletionConfirmationSheet::makeProtectedNotice() {
    m_protectedNotice = new QWidget;
    m_protectedNotice->setObjectName(QStringLiteral("protectedNotice"));
    QHBoxLayout* layout = row(m_protectedNotice, Theme::Space::snug);
    m_protectedText = new WrappingLabel;
    m_protectedText->setObjectName(QStringLiteral("protectedNoticeText"));
    m_protectedText->setTextStyle(TextStyle::Callout);
    m_protectedText->setColor(Theme::danger());
    auto* symbol =
        new SymbolIcon(QStringLiteral("lock.fill"), m_protectedText->fontMetrics().height());
    symbol->setColor(Theme::danger());
    layout->addWidget(symbol, 0, Qt::AlignTop);
    layout->addWidget(m_protectedText, 1);
    return m_protectedNotice;
}

QWidget* DeletionConfirmationSheet::makeFooter() {
    auto* footer = new QWidget;
    QHBoxLayout* layout = row(footer, Theme::Space::small);
    m_total = new ElidedLabel;
    m_total->setObjectName(QStringLiteral("totalLabel"));
    m_total->setTextStyle(TextStyle::Headline, Digits::Tabular);
    m_total->setElideMode(Qt::ElideNone);
    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    m_delete = new DestructiveButton(QString());
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_delete->setDefault(true);
    layout->addWidget(m_total);
    layout->addStretch(1);
    layout->addWidget(m_cancel);
    layout->addWidget(m_delete);
    connect(m_cancel, &QPushButton::clicked, this, &DeletionConfirmationSheet::reject);
    connect(m_delete, &QPushButton::clicked, this, &DeletionConfirmationSheet::confirm);
    return footer;
}

// Everything the plan decides; the acknowledgement starts off for each plan.
void DeletionConfirmationSheet::showPlan(DeletionPlan plan) {
    m_confirmed = false;
    m_model->setPlan(std::move(plan));
    setWindowTitle(this->plan().title);
    m_title->setText(this->plan().title);
    const std::int64_t review = m_model->count(Risk::Review);
    const QString acknowledgement =
        tr("I’ve reviewed the %1 item(s) marked <b>Review</b> and want to delete them").arg(review);
    m_acknowledgeText->setText(acknowledgement);
    m_acknowledgeBox->setAccessibleName(
        QTextDocumentFragment::fromHtml(acknowledgement).toPlainText());
    {
        const QSignalBlocker blocker(m_acknowledgeBox);
        m_acknowledgeBox->setChecked(false);
    }
    m_acknowledgement->setVisible(review > 0);
    const std::int64_t protectedCount = m_model->count(Risk::Protected);
    m_protectedText->setText(
        tr("%1 protected item(s) won’t be touched.").arg(countText(protectedCount)));
    m_protectedNotice->setVisible(protectedCount > 0);
    m_acknowledgeBox->setEnabled(true);
    m_cancel->setEnabled(true);
    showTotal();
    if (isVisible()) {
        fitMinimumSize(*this, leastWidth);
    }
}

// The state moved on: a new plan takes this one's place; none closes the sheet. A hidden
// sheet is on its way out and stays as it is.
void DeletionConfirmationSheet::followPlan() {
    if (!isVisible()) {
        return;
    }
    const std::optional<DeletionPlan>& current = m_state.plan();
    if (!current) {
        done(m_confirmed ? Accepted : Rejected);
    } else if (current->id != plan().id) {
        showPlan(*current);
    }
}

void DeletionConfirmationSheet::showRemovalMode() {
    const bool permanent = m_state.permanentDelete();
    m_notice->setText(permanent ? tr("These will be deleted permanently. They can't be recovered.")
                                : tr("They'll go to the Trash (regenerable caches are deleted "
                                     "directly). You can undo this from History."));
    m_delete->setText(permanent ? tr("Delete Permanently") : tr("Delete"));
    if (isVisible()) {
        fitMinimumSize(*this, leastWidth);
    }
}

void DeletionConfirmationSheet::setReviewAccepted(bool accepted) {
    m_model->setReviewAccepted(accepted);
    showTotal();
}

void DeletionConfirmationSheet::showTotal() {
    m_total->setText(tr("Total: %1").arg(byteText(m_model->total())));
    m_delete->setEnabled(!m_confirmed && m_model->hasDeletableItems());
}

// Asks once: the buttons stay disabled from here on, and the state acts only on its current
// plan, so neither a second click nor a repeated key deletes again.
void DeletionConfirmationSheet::confirm() {
    if (m_confirmed || !m_model->hasDeletableItems()) {
        return;
    }
    m_confirmed = true;
    m_delete->setEnabled(false);
    m_cancel->setEnabled(false);
    m_acknowledgeBox->setEnabled(false);
    m_state.performDeletion(plan(), m_model->reviewAccepted());
}

} // namespace dorvale
