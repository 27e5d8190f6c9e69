#include "cleanup/LoginItemsModel.hpp"

#include <QSize>

namespace dorvale {

void LoginItemsModel::setItems(std::vector<LaunchItem> items) {
    std::vector<ScopeItems> scopes;
    for (const LaunchItem::Scope scope : allLaunchScopes) {
        ScopeItems section{scope, {}};
        for (LaunchItem& item : items) {
            if (item.scope == scope) {
                section.items.push_back(std::move(item));
            }
        }
        if (!section.items.empty()) {
            scopes.push_back(std::move(section));
        }
    }
    m_scopes = std::move(scopes);
    std::vector<Section> sections;
    for (const ScopeItems& section : m_scopes) {
        const std::string_view heading = dorvale::title(section.scope);
        sections.push_back(
            {QString::fromUtf8(heading.data(), static_cast<qsizetype>(heading.size())),
             section.items.size()});
    }
    setSections(std::move(sections));
}

const LaunchItem& LoginItemsModel::item(int section, int entry) const {
    return m_scopes.at(static_cast<std::size_t>(section)).items.at(static_cast<std::size_t>(entry));
}

QModelIndex LoginItemsModel::indexOfPath(const std::string& path) const {
    for (std::size_t section = 0; section < m_scopes.size(); ++section) {
        const std::vector<LaunchItem>& items = m_scopes[section].items;
        for (std::size_t entry = 0; entry < items.size(); ++entry) {
            if (items[entry].path == path) {
                return entryIndex(static_cast<int>(section), static_cast<int>(entry));
            }
        }
    }
    return {};
}

QString LoginItemsModel::title(const LaunchItem& item) {
    return QString::fromStdString(item.ownerName ? *item.ownerName : item.label);
}

QVariant LoginItemsModel::entryData(int section, int entry, int role) const {
    const LaunchItem& shown = item(section, entry);
    switch (role) {
    case Qt::AccessibleTextRole:
        return title(shown);
    case Qt::AccessibleDescriptionRole:
        return QString::fromStdString(shown.label);
    case PathRole:
        return QByteArray::fromStdString(shown.path);
    case Qt::SizeHintRole:
        return QSize(0, rowHeight);
    default:
        // The row laid over the entry draws its texts.
        return {};
    }
}

// The sections stay open, so the arrow keys pass over their headers.
Qt::ItemFlags LoginItemsModel::headerFlags(int /*section*/) const {
    return Qt::NoItemFlags;
}

} // namespace dorvale
