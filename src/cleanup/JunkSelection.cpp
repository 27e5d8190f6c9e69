#include "cleanup/JunkSelection.hpp"

#include <algorithm>
#include <tuple>

namespace dorvale {

void JunkSelection::setJunk(const std::vector<JunkFinding>& junk) {
    m_junk = &junk;
    m_index.clear();
    std::size_t items = 0;
    for (const JunkFinding& finding : junk) {
        items += finding.items.size();
    }
    m_index.reserve(items);
    for (std::size_t f = 0; f < junk.size(); ++f) {
        const std::vector<JunkItem>& found = junk[f].items;
        for (std::size_t i = 0; i < found.size(); ++i) {
            m_index.try_emplace(found[i].id, Location{.finding = f, .item = i});
        }
    }
    m_perFinding.assign(junk.size(), 0);
    m_count = 0;
    m_bytes = 0;
    for (const std::string& id : m_ids) {
        if (const Location* location = locate(id)) {
            count(*location, 1);
        }
    }
}

const JunkSelection::Location* JunkSelection::locate(std::string_view id) const {
    const auto found = m_index.find(id);
    return found != m_index.end() ? &found->second : nullptr;
}

void JunkSelection::count(const Location& location, int change) {
    const JunkItem& item = (*m_junk)[location.finding].items[location.item];
    m_perFinding[location.finding] += static_cast<std::size_t>(static_cast<std::ptrdiff_t>(change));
    m_count += change;
    m_bytes += change * item.size;
}

void JunkSelection::setItem(const std::string& id, bool selected) {
    const bool changed = selected ? m_ids.insert(id).second : m_ids.erase(id) > 0;
    if (!changed) {
        return;
    }
    if (const Location* location = locate(id)) {
        count(*location, selected ? 1 : -1);
    }
}

void JunkSelection::setFinding(std::size_t finding, bool selected) {
    if (m_junk == nullptr || finding >= m_junk->size()) {
        return;
    }
    for (const JunkItem& item : (*m_junk)[finding].items) {
        setItem(item.id, selected);
    }
}

void JunkSelection::clear() {
    m_ids.clear();
    std::fill(m_perFinding.begin(), m_perFinding.end(), 0);
    m_count = 0;
    m_bytes = 0;
}

void JunkSelection::prune() {
    std::erase_if(m_ids, [this](const std::string& id) { return locate(id) == nullptr; });
}

std::size_t JunkSelection::selectedIn(std::size_t finding) const {
    return finding < m_perFinding.size() ? m_perFinding[finding] : 0;
}

bool JunkSelection::isFullySelected(std::size_t finding) const {
    return m_junk != nullptr && finding < m_junk->size() && !(*m_junk)[finding].items.empty() &&
           selectedIn(finding) == (*m_junk)[finding].items.size();
}

std::vector<const JunkItem*> JunkSelection::selectedItems() const {
    std::vector<Location> locations;
    locations.reserve(m_ids.size());
    for (const std::string& id : m_ids) {
        if (const Location* location = locate(id)) {
            locations.push_back(*location);
        }
    }
    std::sort(locations.begin(), locations.end(), [](const Location& a, const Location& b) {
        return std::tie(a.finding, a.item) < std::tie(b.finding, b.item);
    });
    std::vector<const JunkItem*> items;
    items.reserve(locations.size());
    for (const Location& location : locations) {
        items.push_back(&(*m_junk)[location.finding].items[location.item]);
    }
    return items;
}

} // namespace dorvale
