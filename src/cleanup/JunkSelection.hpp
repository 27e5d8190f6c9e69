#pragma once

#include "model/JunkFinding.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dorvale {

/// The junk screen's ticked items: a set of item ids, and the figures the screen shows of
/// it kept as counts, so that ticking, a rule's checkbox and the selection bar never walk a
/// finding's items. Ids that match no current item stay in the set until `prune`, but count
/// nowhere.
///
/// The findings are those of the published junk, by their position in it; the object keeps
/// pointers into that list, so `setJunk` must be called again whenever it changes.
class JunkSelection {
public:
    /// Where an item is: its finding's position in the junk, and its own in the finding.
    struct Location {
        std::size_t finding = 0;
        std::size_t item = 0;
    };

    /// Indexes `junk` (a pass over every item) and counts the held ids again (a pass over
    /// them).
    void setJunk(const std::vector<JunkFinding>& junk);

    [[nodiscard]] bool contains(const std::string& id) const { return m_ids.contains(id); }
    /// Ticks or unticks one item by its id.
    void setItem(const std::string& id, bool selected);
    /// Ticks or unticks every item of finding `finding`.
    void setFinding(std::size_t finding, bool selected);
    void clear();
    /// Keeps only the ids of current items.
    void prune();

    /// How many items of `finding` are ticked.
    [[nodiscard]] std::size_t selectedIn(std::size_t finding) const;
    [[nodiscard]] bool isFullySelected(std::size_t finding) const;
    /// Every ticked item, and the bytes they hold.
    [[nodiscard]] std::int64_t count() const { return m_count; }
    [[nodiscard]] std::int64_t bytes() const { return m_bytes; }
    /// The ticked items, finding by finding in the order of the junk and each finding's
    /// items in their order.
    [[nodiscard]] std::vector<const JunkItem*> selectedItems() const;
    /// Every id held, current or not.
    [[nodiscard]] const std::unordered_set<std::string>& ids() const { return m_ids; }

private:
    [[nodiscard]] const Location* locate(std::string_view id) const;
    void count(const Location& location, int change);

    const std::vector<JunkFinding>* m_junk = nullptr;
    /// Keys point into the items' ids; an id found twice counts at its first place.
    std::unordered_map<std::string_view, Location> m_index;
    std::unordered_set<std::string> m_ids;
    std::vector<std::size_t> m_perFinding;
    std::int64_t m_count = 0;
    std::int64_t m_bytes = 0;
};

} // namespace dorvale
