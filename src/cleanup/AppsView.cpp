#include "cleanup/AppsView.hpp"

#include "app/AppState.hpp"
#include "app/ByteText.hpp"
#include "cleanup/AppInspector.hpp"
#include "cleanup/AppsModel.hpp"
#include "cleanup/PageParts.hpp"
#include "cleanup/RunningApps.hpp"
#include "style/Symbols.hpp"
#include "style/Theme.hpp"
#include "widgets/CellDelegate.hpp"
#include "widgets/ElidedLabel.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/ListTable.hpp"
#include "widgets/LoadingState.hpp"
#include "widgets/PageHeader.hpp"
#include "widgets/RowMenu.hpp"
#include "widgets/RowSelection.hpp"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

constexpr int iconSize = 26;
constexpr int searchWidth = 260;
constexpr int paneLeast = 280;
constexpr int paneIdeal = 320;
constexpr int paneMost = 420;

std::vector<ListTable::Width> columnWidths() {
    return {{220, 280}, {150, 190}, {70, 80}, {70, 80}, {100, 130}};
}

// The one selected application of the page, mirrored into the table: a click selects its
// row's application, and deselecting that row clears it. Rows that leave the list change
// nothing.
class PathSelection final : public RowSelection {
public:
    PathSelection(AppsModel& model, QItemSelectionModel& selection,
                  std::optional<std::string>& path)
        : RowSelection(model, selection)
        , m_model(model)
        , m_path(path) {}

protected:
    [[nodiscard]] bool isRowSelected(int row) const override {
        return m_path && *m_path == m_model.keyAt(row);
    }
    void rowPicked(int row, bool selected) override {
        std::string path = m_model.keyAt(row);
        if (selected) {
            m_path = std::move(path);
        } else if (m_path == path) {
            m_path.reset();
        }
    }

private:
    const AppsModel& m_model;
    std::optional<std::string>& m_path;
};

bool containsText(const std::string& text, const QString& query) {
    return QString::fromStdString(text).contains(query, Qt::CaseInsensitive);
}

QWidget* selectPrompt() {
    auto* prompt = new ElidedLabel(AppsView::tr("Select an app"));
    prompt->setObjectName(QStringLiteral("selectPrompt"));
    prompt->setTone(Tone::Secondary);
    prompt->setAlignment(Qt::AlignCenter);
    return prompt;
}

} // namespace

AppsView::AppsView(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_running(new RunningApps(state.services().workspace, this))
    , m_model(new AppsModel(state.services().clock, *m_running, this)) {
    setObjectName(QStringLiteral("appsView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, Theme::Space::page);
    layout->setSpacing(14);
    layout->addWidget(withPageMargins(makeHeader(), PageEdges::SidesAndTop));
    layout->addWidget(withPageMargins(makeFilterBar()));
    layout->addWidget(makeContent(), 1);
    connect(&m_state, &AppState::appsChanged, this, &AppsView::appsChanged);
    connect(&m_state, &AppState::appsLoadingChanged, this, &AppsView::showLoading);
    connect(m_running, &RunningApps::changed, this, &AppsView::updateInspector);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState active) {
                if (active == Qt::ApplicationActive) {
                    m_running->refresh();
                }
            });
    showRows();
    showLoading();
    m_running->refresh();
    m_state.loadApps(false);
}

bool AppsView::matches(const InstalledApp& app, const Filter& filter, Timestamp now) {
    if (filter.hideApple && app.isApple) {
        return false;
    }
    if (filter.unusedOnly && !(app.lastUsedSortDate() < now - unusedAge)) {
        return false;
    }
    if (filter.query.isEmpty() || containsText(app.name, filter.query)) {
        return true;
    }
    return containsText(app.bundleID.value_or(std::string()), filter.query);
}

std::vector<InstalledApp> AppsView::visibleApps(std::span<const InstalledApp> apps,
                                                const Filter& filter, Timestamp now) {
    std::vector<InstalledApp> visible;
    std::copy_if(apps.begin(), apps.end(), std::back_inserter(visible),
                 [&](const InstalledApp& app) { return matches(app, filter, now); });
    return visible;
}

void AppsView::setFilter(Filter filter) {
    m_filter = std::move(filter);
    m_search->setText(m_filter.query);
    m_hideApple->setChecked(m_filter.hideApple);
    m_unusedOnly->setChecked(m_filter.unusedOnly);
    showRows();
}

void AppsView::setSelection(std::optional<std::string> path) {
    m_selection = std::move(path);
    m_rowSelection->mirror();
    updateInspector();
}

void AppsView::populateRowMenu(QMenu& menu, const std::vector<std::string>& paths) {
    std::optional<std::string> first;
    for (int row = 0; row < m_model->rowCount() && !first; ++row) {
        if (std::find(paths.begin(), paths.end(), m_model->keyAt(row)) != paths.end()) {
            first = m_model->keyAt(row);
        }
    }
    const InstalledApp* app = first ? findApp(*first) : nullptr;
    if (app == nullptr) {
        return;
    }
    QAction* reveal = menu.addAction(tr("Show in Finder"), this, [this, path = app->path] {
        m_state.services().workspace.reveal({path});
    });
    reveal->setObjectName(QStringLiteral("revealAction"));
    QAction* uninstall = menu.addAction(tr("Uninstall…"), this, [this, path = app->path] {
        if (const InstalledApp* live = findApp(path)) {
            m_state.uninstall(*live);
        }
    });
    uninstall->setObjectName(QStringLiteral("uninstallAction"));
    uninstall->setEnabled(!app->isApple);
}

QWidget* AppsView::makeHeader() {
    auto* header =
        new PageHeader(tr("Applications"), tr("Every app along with the data it keeps outside its "
                                              "bundle: caches, containers, preferences…"));
    m_refresh = new IconButton(QStringLiteral("arrow.clockwise"), tr("Refresh"));
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_refresh->setLabel(tr("Refresh"));
    connect(m_refresh, &QToolButton::clicked, this, [this] { m_state.loadApps(true); });
    header->addTrailingWidget(m_refresh);
    return header;
}

QWidget* AppsView::makeFilterBar() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->setPlaceholderText(tr("Search apps"));
    m_search->setAccessibleName(tr("Search apps"));
    m_search->addAction(Symbols::icon(u"magnifyingglass"), QLineEdit::LeadingPosition);
    m_search->setMaximumWidth(searchWidth);
    connect(m_search, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_filter.query = text;
        showRows();
    });
    row->addWidget(m_search, 1);
    m_hideApple = filterBox(tr("Hide Apple apps"), "hideAppleBox", &Filter::hideApple);
    row->addWidget(m_hideApple);
    m_unusedOnly = filterBox(tr("Unused for 3 months"), "unusedOnlyBox", &Filter::unusedOnly);
    row->addWidget(m_unusedOnly);
    row->addStretch(0);
    m_summary = new ElidedLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTone(Tone::Secondary);
    m_summary->setTextStyle(TextStyle::Body, Digits::Tabular);
    m_summary->setElideMode(Qt::ElideNone);
    row->addWidget(m_summary);
    return bar;
}

QCheckBox* AppsView::filterBox(const QString& title, const char* name, bool Filter::*field) {
    auto* box = new QCheckBox(title);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(m_filter.*field);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        m_filter.*field = on;
        showRows();
    });
    return box;
}

QWidget* AppsView::makeContent() {
    m_content = new QStackedWidget;
    auto* loading = new LoadingState(tr("Measuring apps and their data…"));
    loading->setObjectName(QStringLiteral("loadingState"));
    m_content->addWidget(loading);

    m_table = new ListTable(*m_model, columnWidths(), AppsModel::Name,
                            NameDelegate::rowHeight(font(), iconSize));
    m_table->setObjectName(QStringLiteral("appsTable"));
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setItemDelegateForColumn(AppsModel::Name, new NameDelegate(m_table, iconSize));
    m_table->setItemDelegateForColumn(AppsModel::Total, new SizeBarDelegate(m_table));
    for (const int column : {AppsModel::AppSize, AppsModel::Data, AppsModel::LastUsed}) {
        m_table->setItemDelegateForColumn(column, new FigureDelegate(m_table));
    }
    m_rowSelection = new PathSelection(*m_model, *m_table->selectionModel(), m_selection);
    connect(m_rowSelection, &RowSelection::changed, this, &AppsView::updateInspector);
    attachRowMenu(*m_table,
                  [this](QMenu& menu, int row) { populateRowMenu(menu, {m_model->keyAt(row)}); });
    m_tableArea = withPageMargins(m_table);

    m_pane = new QScrollArea;
    m_pane->setObjectName(QStringLiteral("inspectorPane"));
    m_pane->setWidgetResizable(true);
    m_pane->setFrameShape(QFrame::NoFrame);
    m_pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pane->setMinimumWidth(paneLeast);
    m_pane->setMaximumWidth(paneMost);
    m_pane->hide();

    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName(QStringLiteral("appsSplit"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_tableArea);
    split->addWidget(m_pane);
    split->setStretchFactor(0, 1);
    split->setSizes({QWIDGETSIZE_MAX, paneIdeal});
    m_content->addWidget(split);
    return m_content;
}

void AppsView::appsChanged() {
    showRows();
    m_running->refresh();
}

// The spinner only stands in for a list that is not there yet; a refresh keeps the list.
void AppsView::showLoading() {
    const bool loading = m_state.appsLoading();
    m_refresh->setEnabled(!loading);
    m_content->setCurrentIndex(loading && m_state.apps().empty() ? 0 : 1);
}

void AppsView::showRows() {
    std::vector<InstalledApp> visible =
        visibleApps(m_state.apps(), m_filter, m_state.services().clock.now());
    std::int64_t total = 0;
    for (const InstalledApp& app : visible) {
        total += app.totalSize();
    }
    m_summary->setText(
        tr("%1 apps · %2")
            .arg(QString::number(visible.size()), byteText(std::max<std::int64_t>(0, total))));
    m_model->setApps(std::move(visible));
    updateInspector();
}

void AppsView::updateInspector() {
    m_pane->setVisible(m_selection.has_value());
    m_tableArea->layout()->setContentsMargins(Theme::Space::page, 0,
                                              m_selection ? 0 : Theme::Space::page, 0);
    const InstalledApp* app = m_selection ? findApp(*m_selection) : nullptr;
    if (app == nullptr) {
        if (m_inspector != nullptr || m_pane->widget() == nullptr) {
            m_inspector = nullptr;
            m_pane->setWidget(selectPrompt());
        }
        return;
    }
    const bool running = m_running->isRunning(app->bundleID);
    if (m_inspector != nullptr && m_inspector->app() == *app) {
        m_inspector->setRunning(running);
        return;
    }
    m_inspector = new AppInspector(m_state, *app, running);
    m_pane->setWidget(m_inspector);
}

const InstalledApp* AppsView::findApp(const std::string& path) const {
    const std::vector<InstalledApp>& apps = m_state.apps();
    const auto found = std::find_if(apps.begin(), apps.end(),
                                    [&path](const InstalledApp& app) { return app.path == path; });
    return found == apps.end() ? nullptr : &*found;
}

} // namespace dorvale
