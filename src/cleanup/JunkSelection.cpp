#include "cleanup/JunkSelection.hpp"

#include <algorithm>

namespace dorvale {

void JunkSelection::setJunk(const std::vector<JunkFinding>& junk) {
    m_junk = &junk;
    m_perFinding.assign(junk.size(), 0);
    m_count = 0;
    m_bytes = 0;
    if (m_ids.empty()) {
        return;
    }
    for (std::size_t finding = 0; finding < junk.size(); ++finding) {
        for (const JunkItem& item : junk[finding].items) {
            if (m_ids.contains(item.id)) {
                count(finding, item, 1);
            }
        }
    }
}

bool JunkSelection::hasFinding(std::size_t finding) const {
    return m_junk != nullptr && finding < m_junk->size();
}

void JunkSelection::count(std::size_t finding, const JunkItem& item, int change) {
    m_perFinding[finding] += static_cast<std::size_t>(static_cast<std::ptrdiff_t>(change));
    m_count += change;
    m_bytes += change * item.size;
}

void JunkSelection::setItem(std::size_t finding, std::size_t item, bool selected) {
    if (!hasFinding(finding) || item >= (*m_junk)[finding].items.size()) {
        return;
    }
    const JunkItem& picked = (*m_junk)[finding].items[item];
    const bool changed = selected ? m_ids.insert(picked.id).second : m_ids.erase(picked.id) > 0;
    if (changed) {
        count(finding, picked, selected ? 1 : -1);
    }
}

void JunkSelection::setFinding(std::size_t finding, bool selected) {
    if (!hasFinding(finding)) {
        return;
    }
    const std::vector<JunkItem>& items = (*m_junk)[finding].items;
    if (selected) {
        m_ids.reserve(m_ids.size() + items.size());
    }
    for (std::size_t item = 0; item < items.size(); ++item) {
        setItem(finding, item, selected);
    }
}

void JunkSelection::clear() {
    m_ids.clear();
    std::fill(m_perFinding.begin(), m_perFinding.end(), 0);
    m_count = 0;
    m_bytes = 0;
}

void JunkSelection::prune() {
    if (m_ids.empty() || m_junk == nullptr) {
        return;
    }
    std::unordered_set<std::string> current;
    current.reserve(static_cast<std::size_t>(m_count));
    for (const JunkFinding& finding : *m_junk) {
        for (const JunkItem& item : finding.items) {
            if (m_ids.contains(item.id)) {
                current.insert(item.id);
            }
        }
    }
    m_ids = std::move(current);
}

std::size_t JunkSelection::selectedIn(std::size_t finding) const {
    return finding < m_perFinding.size() ? m_perFinding[finding] : 0;
}

bool JunkSelection::isFullySelected(std::size_t finding) const {
    return hasFinding(finding) && !(*m_junk)[finding].items.empty() &&
           selectedIn(finding) == (*m_junk)[finding].items.size();
}

std::vector<const JunkItem*> JunkSelection::selectedItems() const {
    std::vector<const JunkItem*> items;
    if (m_count == 0) {
        return items;
    }
    items.reserve(static_cast<std::size_t>(m_count));
    for (std::size_t finding = 0; finding < m_junk->size(); ++finding) {
        if (selectedIn(finding) == 0) {
            continue;
        }
        for (const JunkItem& item : (*m_junk)[finding].items) {
            if (m_ids.contains(item.id)) {
                items.push_back(&item);
            }
        }
    }
    return items;
}

} // namespace dorvale
