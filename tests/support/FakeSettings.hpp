#pragma once

#include "platform/Settings.hpp"

#include <map>
#include <mutex>
#include <string>

namespace dorvale::test {

/// Settings kept in memory, for code under test that reads and writes settings.
class FakeSettings final : public Settings {
public:
    [[nodiscard]] std::optional<SettingValue> value(std::string_view key) const override;
    void setValue(std::string_view key, SettingValue value) override;
    void remove(std::string_view key) override;

    /// How many sets and removes there were, to check that something was (not) written.
    [[nodiscard]] int changeCount() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, SettingValue, std::less<>> m_values;
    int m_changes = 0;
};

} // namespace dorvale::test
