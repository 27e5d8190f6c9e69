#pragma once

#include "widgets/KeyedRowsModel.hpp"
#include "widgets/RowSelection.hpp"

#include <unordered_set>
#include <utility>
#include <vector>

namespace dorvale {

/// A screen's selection as a set of keys, shown in a view over `model`. The keys are the
/// truth: resets and sorts re-select their rows, the user's clicks add and remove keys, and
/// a key whose row has gone stays in the set (it comes back with its row) but counts nowhere.
template <typename Row, typename Key>
class KeySelection : public RowSelection {
public:
    using Model = KeyedRowsModel<Row, Key>;

    KeySelection(Model& model, QItemSelectionModel& selection)
        : RowSelection(model, selection)
        , m_rows(model) {
        // Before the reset's mirroring: the rows it looks up are the new ones.
        connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_held.clear(); });
    }

    /// Every key held, with or without a row.
    [[nodiscard]] const std::unordered_set<Key>& keys() const { return m_keys; }
    [[nodiscard]] bool contains(const Key& key) const { return m_keys.contains(key); }

    void setKeys(std::unordered_set<Key> keys) {
        m_keys = std::move(keys);
        m_held.clear();
        mirror();
        emit changed();
    }
    void clear() { setKeys({}); }

    /// The held keys that have a row, in row order: what sizes, counts and plans use.
    [[nodiscard]] std::vector<Key> liveKeys() const {
        std::vector<Key> live;
        if (m_keys.empty()) {
            return live;
        }
        const int rows = m_rows.rowCount();
        for (int row = 0; row < rows; ++row) {
            if (isRowSelected(row)) {
                live.push_back(m_rows.keyAt(row));
            }
        }
        return live;
    }

    /// The keys a row menu opened on `row` acts on: the live selection when the row is in
    /// it, else that row alone.
    [[nodiscard]] std::vector<Key> menuKeys(int row) const {
        Key clicked = m_rows.keyAt(row);
        if (m_keys.contains(clicked)) {
            return liveKeys();
        }
        return {std::move(clicked)};
    }

protected:
    [[nodiscard]] bool isRowSelected(int row) const override {
        return held()[m_rows.sourceAt(row)];
    }
    void rowPicked(int row, bool selected) override {
        if (selected) {
            m_keys.insert(m_rows.keyAt(row));
        } else {
            m_keys.erase(m_rows.keyAt(row));
        }
        if (!m_held.empty()) {
            m_held[m_rows.sourceAt(row)] = selected;
        }
    }

private:
    // Whether each source row's key is held, looked up once after each change of the keys
    // or the rows: a sort then mirrors the selection without a look-up per row.
    [[nodiscard]] const std::vector<bool>& held() const {
        if (m_held.size() != m_rows.rows().size()) {
            m_held.assign(m_rows.rows().size(), false);
            if (!m_keys.empty()) {
                for (std::size_t source = 0; source < m_held.size(); ++source) {
                    m_held[source] = m_keys.contains(m_rows.sourceKey(source));
                }
            }
        }
        return m_held;
    }

    const Model& m_rows;
    std::unordered_set<Key> m_keys;
    mutable std::vector<bool> m_held;
};

} // namespace dorvale
