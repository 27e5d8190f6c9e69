#pragma once

#include "inventory/LaunchItem.hpp"
#include "widgets/SectionedListModel.hpp"

#include <vector>

namespace dorvale {

/// The login items in one section per scope, in scope order; a scope without items has no
/// section. Entries keep the order of the items they were given. Each entry's row is drawn
/// by a `LoginItemRow` that the view lays over it, so the model gives only what the list
/// and assistive technology read: the entry's title and its property list's path.
class LoginItemsModel final : public SectionedListModel {
    Q_OBJECT

public:
    /// The role holding an entry's property list path, as bytes (`QByteArray`).
    static constexpr int PathRole = Qt::UserRole + 1;
    /// The height of an entry's row.
    static constexpr int rowHeight = 56;

    using SectionedListModel::SectionedListModel;

    void setItems(std::vector<LaunchItem> items);
    [[nodiscard]] const LaunchItem& item(int section, int entry) const;
    /// The entry whose property list is `path`, or an invalid index.
    [[nodiscard]] QModelIndex indexOfPath(const std::string& path) const;

    /// What a row is called: the owner application's name, else the label.
    [[nodiscard]] static QString title(const LaunchItem& item);

protected:
    [[nodiscard]] QVariant entryData(int section, int entry, int role) const override;
    [[nodiscard]] Qt::ItemFlags headerFlags(int section) const override;

private:
    struct ScopeItems {
        LaunchItem::Scope scope;
        std::vector<LaunchItem> items;
    };
    std::vector<ScopeItems> m_scopes;
};

} // namespace dorvale
