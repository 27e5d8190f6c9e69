#pragma once

#include "widgets/SortedRowsModel.hpp"

#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dorvale {

/// A list model over a vector of `Row`s, each with a stable `Key` (path bytes, a record id,
/// or a node while the model holds its scan) that no other row shares. A subclass says how to read
/// a row's key, its sort keys and its cells; this class holds the rows, replaces them in one reset
/// and finds a row by key.
template <typename Row, typename Key>
class KeyedRowsModel : public SortedRowsModel {
public:
    using SortedRowsModel::SortedRowsModel;

    /// Replaces every row in one reset; the new rows are shown in the current order.
    void setRows(std::vector<Row> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        m_rowOfKey.reset();
        reorderAfterReset();
        endResetModel();
    }

    [[nodiscard]] const std::vector<Row>& rows() const { return m_rows; }
    /// The row shown at `row`.
    [[nodiscard]] const Row& rowAt(int row) const { return m_rows[sourceAt(row)]; }
    [[nodiscard]] Key keyAt(int row) const { return keyOf(rowAt(row)); }
    /// The key of source row `source`, in the order the rows were given.
    [[nodiscard]] Key sourceKey(std::size_t source) const { return keyOf(m_rows[source]); }
    /// The row that shows `key`, or -1.
    [[nodiscard]] int rowOf(const Key& key) const {
        if (!m_rowOfKey) {
            m_rowOfKey.emplace();
            m_rowOfKey->reserve(m_rows.size());
            for (std::size_t i = 0; i < m_rows.size(); ++i) {
                m_rowOfKey->emplace(keyOf(m_rows[i]), i);
            }
        }
        const auto found = m_rowOfKey->find(key);
        return found == m_rowOfKey->end() ? -1 : rowOfSource(found->second);
    }

protected:
    [[nodiscard]] virtual Key keyOf(const Row& row) const = 0;
    [[nodiscard]] std::size_t sourceCount() const override { return m_rows.size(); }
    [[nodiscard]] const Row& source(std::size_t index) const { return m_rows[index]; }

private:
    std::vector<Row> m_rows;
    // Key to source index, made on the first look-up after a reset.
    mutable std::optional<std::unordered_map<Key, std::size_t>> m_rowOfKey;
};

} // namespace dorvale
