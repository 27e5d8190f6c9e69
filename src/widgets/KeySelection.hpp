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
        , m_rows(model) {}

    /// Every key held, with or without a row.
    [[nodiscard]] const std::unordered_set<Key>& keys() const { return m_keys; }
    [[nodiscard]] bool contains(const Key& key) const { return m_keys.contains(key); }

    void setKeys(std::unordered_set<Key> keys) {
        m_keys = std::move(keys);
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
            Key key = m_rows.keyAt(row);
            if (m_keys.contains(key)) {
                live.push_back(std::move(key));
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
        return !m_keys.empty() && m_keys.contains(m_rows.keyAt(row));
    }
    void rowPicked(int row, bool selected) override {
        if (selected) {
            m_keys.insert(m_rows.keyAt(row));
        } else {
            m_keys.erase(m_rows.keyAt(row));
        }
    }

private:
    const Model& m_rows;
    std::unordered_set<Key> m_keys;
};

} // namespace dorvale
