#include "shell/settings/ExclusionsSettings.hpp"

#include "app/AppState.hpp"
#include "app/PathText.hpp"
#include "platform/Paths.hpp"
#include "shell/settings/SettingsSection.hpp"
#include "style/Theme.hpp"
#include "widgets/IconButton.hpp"
#include "widgets/WrappingLabel.hpp"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace dorvale {

namespace {

std::string pathOf(const QTreeWidgetItem& item) {
    return item.data(0, Qt::UserRole).toByteArray().toStdString();
}

} // namespace

ExclusionsSettings::ExclusionsSettings(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_list(new QTreeWidget)
    , m_refusal(
          new WrappingLabel(tr("A folder whose path holds a line break can’t be excluded."))) {
    setObjectName(QStringLiteral("exclusionsSettings"));
    m_list->setObjectName(QStringLiteral("exclusionList"));
    m_list->setAccessibleName(tr("Excluded folders"));
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long paths are cut in the middle rather than scrolled sideways.
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_refusal->setObjectName(QStringLiteral("exclusionRefusal"));
    m_refusal->setColor(Theme::danger());
    m_refusal->hide();

    auto* layout = new QVBoxLayout(this);
    auto* caption = SettingsSection::note(tr("Folders Dorvale never scans or suggests deleting."));
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(makeButtons());
    layout->addWidget(m_refusal);

    showPaths();
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            &ExclusionsSettings::selectionChanged);
    connect(&m_state, &AppState::excludedRawChanged, this, &ExclusionsSettings::showPaths);
}

QWidget* ExclusionsSettings::makeButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_add = new IconButton(QStringLiteral("plus"), tr("Add Folder…"));
    m_add->setObjectName(QStringLiteral("addButton"));
    m_remove = new IconButton(QStringLiteral("minus"), tr("Remove Folder"));
    m_remove->setObjectName(QStringLiteral("removeButton"));
    m_remove->setEnabled(false);
    layout->addWidget(m_add);
    layout->addWidget(m_remove);
    layout->addStretch(1);
    connect(m_add, &IconButton::clicked, this, &ExclusionsSettings::addFolder);
    connect(m_remove, &IconButton::clicked, this, &ExclusionsSettings::removeSelected);
    return row;
}

// One row per stored path, the selected path highlighted where it is still listed.
void ExclusionsSettings::showPaths() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const std::string& path : m_state.excludedPaths()) {
        const QByteArray bytes = QByteArray::fromStdString(path);
        auto* item = new QTreeWidgetItem(m_list, {pathText(path)});
        item->setData(0, Qt::UserRole, bytes);
        item->setToolTip(0, item->text(0));
        if (m_selection == path && m_list->selectedItems().isEmpty()) {
            item->setSelected(true);
            m_list->setCurrentItem(item);
        }
    }
}

// Only the user changes the selection: the list is rebuilt with its signals blocked, so rows
// going away leave it naming its path.
void ExclusionsSettings::selectionChanged() {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    m_selection = selected.isEmpty() ? std::nullopt : std::optional(pathOf(*selected.constFirst()));
    m_remove->setEnabled(m_selection.has_value());
}

void ExclusionsSettings::addFolder() {
    const std::optional<std::string> chosen = m_state.services().fileDialogs.chooseFolder(
        tr("Choose a folder to exclude").toStdString(), tr("Choose").toStdString());
    if (!chosen) {
        return;
    }
    std::vector<std::string> paths = m_state.excludedPaths();
    paths.emplace_back(matchingPath(*chosen, m_state.services().locations.dataVolume));
    store(paths);
}

void ExclusionsSettings::removeSelected() {
    if (!m_selection) {
        return;
    }
    std::vector<std::string> paths = m_state.excludedPaths();
    std::erase(paths, *m_selection);
    store(paths);
}

void ExclusionsSettings::store(const std::vector<std::string>& paths) {
    m_refusal->setVisible(!m_state.setExcludedPaths(paths));
}

} // namespace dorvale
