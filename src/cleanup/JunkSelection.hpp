#pragma once

#include "model/JunkFinding.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace dorvale {

/// The junk screen's ticked items: a set of item ids, with the figures the screen shows of
/// it kept as counts per finding, so that a tick, a rule's checkbox and the selection bar
/// never walk a finding's items. Ids that match no current item stay in the set until
/// `prune`, but count nowhere.
///
/// Items are addressed by their place: a finding's position in the published junk and the
/// item's in the finding. The object keeps a pointer to that list, so `setJunk` must be
/// called again whenever it changes. Item ids are paths, each found by one rule only.
class JunkSelection {
public:
    /// Takes `junk` as the current findings and counts the held ids in it again: a pass over
    /// every item while some are held, none otherwise.
    void setJunk(const std::vector<JunkFinding>& junk);

    [[nodiscard]] bool contains(const std::string& id) const { return m_ids.contains(id); }
    /// Ticks or unticks item `item` of finding `finding`.
    void setItem(std::size_t finding, std::size_t item, bool selected);
    /// Ticks or unticks every item of finding `finding`.
    void setFinding(std::size_t finding, bool selected);
    void clear();
    /// Keeps only the ids of current items.
    void prune();

    /// How many items of `finding` are ticked.
    [[nodiscard]] std::size_t selectedIn(std::size_t finding) const;
    /// Whether every item of `finding` is ticked; never for a finding without items.
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
    [[nodiscard]] bool hasFinding(std::size_t finding) const;
    void count(std::size_t finding, const JunkItem& item, int change);

    const std::vector<JunkFinding>* m_junk = nullptr;
    std::unordered_set<std::string> m_ids;
    std::vector<std::size_t> m_perFinding;
    std::int64_t m_count = 0;
    std::int64_t m_bytes = 0;
};

} // namespace dorvale
