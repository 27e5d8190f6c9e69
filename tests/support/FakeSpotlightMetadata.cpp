#include "support/FakeSpotlightMetadata.hpp"

namespace dorvale::test {

void FakeSpotlightMetadata::setLastUsed(const std::string& path, Timestamp date) {
    const std::lock_guard lock(m_mutex);
    m_dates.insert_or_assign(path, date);
}

std::optional<Timestamp> FakeSpotlightMetadata::lastUsedDate(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_dates.find(path);
    return found == m_dates.end() ? std::nullopt : std::optional(found->second);
}

} // namespace dorvale::test
