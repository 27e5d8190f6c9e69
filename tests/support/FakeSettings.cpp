#include "support/FakeSettings.hpp"

namespace dorvale::test {

std::optional<SettingValue> FakeSettings::value(std::string_view key) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_values.find(key);
    return found == m_values.end() ? std::nullopt : std::optional(found->second);
}

void FakeSettings::setValue(std::string_view key, SettingValue value) {
    const std::lock_guard lock(m_mutex);
    m_values.insert_or_assign(std::string(key), std::move(value));
    ++m_changes;
}

void FakeSettings::remove(std::string_view key) {
    const std::lock_guard lock(m_mutex);
    if (const auto found = m_values.find(key); found != m_values.end()) {
        m_values.erase(found);
    }
    ++m_changes;
}

int FakeSettings::changeCount() const {
    const std::lock_guard lock(m_mutex);
    return m_changes;
}

} // namespace dorvale::test
