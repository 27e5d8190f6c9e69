#include "style/IconCache.hpp"

namespace dorvale {

const QIcon* IconCache::find(const std::string& key) const {
    const auto found = m_icons.find(key);
    return found != m_icons.end() ? &found->second : nullptr;
}

const QIcon& IconCache::insert(const std::string& key, QIcon icon) {
    if (m_icons.size() > limit && !m_icons.contains(key)) {
        m_icons.clear();
    }
    return m_icons.insert_or_assign(key, std::move(icon)).first->second;
}

} // namespace dorvale
