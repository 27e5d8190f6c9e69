#include "cleanup/LoginItemsView.hpp"

#include "app/AppState.hpp"
#include "app/RunInBackground.hpp"
#include "cleanup/HeldWork.hpp"
#include "cleanup/LoginItemRow.hpp"
#include "cleanup/LoginItemsModel.hpp"
#include "cleanup/RefreshButton.hpp"
#include "style/Theme.hpp"
#include "style/Typography.hpp"
#include "widgets/ActivitySpinner.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/SectionedList.hpp"
#include "widgets/SymbolIcon.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <unistd.h>

namespace dorvale {

namespace {

QWidget* makeLoadingBody() {
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("loadingIndicator"));
    auto* spinner = new ActivitySpinner(24);
    spinner->setAccessibleName(LoginItemsView::tr("Reading launch agents…"));
    auto* title = new QLabel(LoginItemsView::tr("Reading launch agents…"));
    title->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(body);
    layout->addStretch(1);
    layout->addWidget(spinner, 0, Qt::AlignHCenter);
    layout->addWidget(title);
    layout->addStretch(1);
    return body;
}

} // namespace

LoginItemsView::LoginItemsView(AppState& state, QWidget* parent)
    : AmbientBackground(parent)
    , m_state(state)
    , m_body(new QStackedWidget)
    , m_loading(makeLoadingBody())
    , m_model(new LoginItemsModel(this))
    , m_list(new SectionedList) {
    setObjectName(QStringLiteral("loginItemsPage"));
    m_list->setObjectName(QStringLiteral("loginItemsList"));
    m_list->setAccessibleName(tr("Login Items"));
    m_list->setAlternatingRowColors(true);
    m_list->setUniformRowHeights(false);
    m_list->setModel(m_model);
    m_body->addWidget(m_list);
    m_body->addWidget(m_loading);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LoginItemsView::selectionChanged);

    m_messageLine = new QWidget;
    m_messageLine->setObjectName(QStringLiteral("messageLine"));
    auto* info = new SymbolIcon(QStringLiteral("info.circle"), 14);
    info->setTone(Tone::Secondary);
    m_messageText = new WrappingLabel;
    m_messageText->setObjectName(QStringLiteral("messageText"));
    m_messageText->setTextStyle(TextStyle::Callout);
    m_messageText->setTone(Tone::Secondary);
    auto* messageLayout = new QHBoxLayout(m_messageLine);
    messageLayout->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    messageLayout->setSpacing(Theme::Space::snug);
    messageLayout->addWidget(info, 0, Qt::AlignTop);
    messageLayout->addWidget(m_messageText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, Theme::Space::page, 0, 0);
    layout->setSpacing(Theme::Space::medium);
    layout->addWidget(makeHeader());
    layout->addWidget(m_messageLine);
    // The list is inset from the page's edges like the header above it.
    auto* body = new QVBoxLayout;
    body->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, Theme::Space::page);
    body->addWidget(m_body);
    layout->addLayout(body, 1);
    showMessage();
    refresh();
}

QWidget* LoginItemsView::makeHeader() {
    auto* header =
        new PageHeader(tr("Login Items"),
                       tr("Background agents and daemons that start with your Mac. Removing one "
                          "stops it from launching; the app itself stays installed."));
    header->setObjectName(QStringLiteral("pageHeader"));
    header->setContentsMargins(Theme::Space::page, 0, Theme::Space::page, 0);
    auto* settings = new QPushButton(tr("Open Login Items Settings"));
    settings->setObjectName(QStringLiteral("loginSettingsButton"));
    settings->setAutoDefault(false);
    connect(settings, &QPushButton::clicked, this, [this] {
        LaunchItem::openLoginItemsSettings(m_state.services().locations,
                                           m_state.services().workspace);
    });
    m_refresh = makeRefreshButton();
    connect(m_refresh, &QAbstractButton::clicked, this, &LoginItemsView::load);
    header->addTrailingWidget(settings);
    header->addTrailingWidget(m_refresh);
    return header;
}

void LoginItemsView::showEvent(QShowEvent* event) {
    AmbientBackground::showEvent(event);
    if (m_items.empty() && !isLoading()) {
        load();
    }
}

void LoginItemsView::load() {
    ++m_loads;
    refresh();
    const Locations locations = m_state.services().locations;
    const Workspace& workspace = m_state.services().workspace;
    runInBackground(
        this,
        afterHold(m_beforeWork,
                  [locations, &workspace] { return LaunchItem::loadAll(locations, workspace); }),
        [this](std::vector<LaunchItem> items) {
            --m_loads;
            m_items = std::move(items);
            m_model->setItems(m_items);
            placeRows();
            refresh();
            emit loaded();
        });
}

void LoginItemsView::remove(const LaunchItem& item) {
    if (m_removing) {
        return;
    }
    m_removing = true;
    refresh();
    const AppServices& services = m_state.services();
    const Locations locations = services.locations;
    const Trash& trash = services.deletionEngine.trash();
    const ProcessRunner& processes = services.processes;
    const AdministratorRunner& administrator = services.administrator;
    runInBackground(
        this,
        afterHold(m_beforeWork,
                  [item, uid = getuid(), locations, &trash, &processes, &administrator] {
                      return LaunchItem::remove(item, uid, locations, trash, processes,
                                                administrator);
                  }),
        [this, name = LoginItemsModel::title(item),
         trashed = item.removalTrashesFile()](std::optional<std::string> failure) {
            m_removing = false;
            // The outcome is shown as it came: a tool's own words are no translation key.
            m_message = failure ? QString::fromStdString(*failure)
                        : trashed
                            ? tr("“%1” won't start automatically any more. Its file is in the "
                                 "Trash.")
                                  .arg(name)
                            : tr("“%1” won't start automatically any more.").arg(name);
            showMessage();
            emit removed();
            load();
        });
}

void LoginItemsView::refresh() {
    m_refresh->setEnabled(!isLoading());
    m_body->setCurrentWidget(isLoading() && m_items.empty() ? m_loading : m_list);
    for (const LoginItemRow* row : m_list->findChildren<LoginItemRow*>()) {
        if (QPushButton* button = row->removeButton()) {
            button->setEnabled(!m_removing);
        }
    }
}

// Lays a row over each entry, then selects the entry of the path selected before.
void LoginItemsView::placeRows() {
    m_list->expandSections();
    const int sections = m_model->rowCount();
    for (int section = 0; section < sections; ++section) {
        const int entries = m_model->rowCount(m_model->sectionIndex(section));
        for (int entry = 0; entry < entries; ++entry) {
            const LaunchItem& item = m_model->item(section, entry);
            auto* row = new LoginItemRow(item);
            connect(row, &LoginItemRow::revealClicked, this,
                    [this, path = item.path] { m_state.services().workspace.reveal({path}); });
            connect(row, &LoginItemRow::removeClicked, this, [this, item] { remove(item); });
            m_list->setIndexWidget(m_model->entryIndex(section, entry), row);
        }
    }
    if (m_selection) {
        const QModelIndex selected = m_model->indexOfPath(*m_selection);
        if (selected.isValid()) {
            m_list->selectionModel()->select(selected, QItemSelectionModel::ClearAndSelect);
        }
    }
}

void LoginItemsView::selectionChanged() {
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        m_selection = selected.front().data(LoginItemsModel::PathRole).toByteArray().toStdString();
    }
}

void LoginItemsView::showMessage() {
    m_messageLine->setVisible(m_message.has_value());
    m_messageText->setText(m_message.value_or(QString()));
}

} // namespace dorvale
