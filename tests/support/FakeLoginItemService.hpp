#pragma once

#include "platform/LoginItemService.hpp"

#include <optional>
#include <string>
#include <vector>

namespace dorvale::test {

/// Launch at login kept in memory. Every call is recorded by name ("register",
/// "unregister", "isEnabled"); after `failWith`, every call fails with that error and
/// changes nothing, until `succeed`.
class FakeLoginItemService final : public LoginItemService {
public:
    [[nodiscard]] Result<void> registerItem() override;
    [[nodiscard]] Result<void> unregisterItem() override;
    [[nodiscard]] Result<bool> isEnabled() const override;

    void setEnabled(bool enabled) { m_enabled = enabled; }
    void failWith(FileError error) { m_failure = std::move(error); }
    void succeed() { m_failure.reset(); }

    [[nodiscard]] const std::vector<std::string>& calls() const { return m_calls; }

private:
    Result<void> change(const char* call, bool enabled);

    bool m_enabled = false;
    std::optional<FileError> m_failure;
    mutable std::vector<std::string> m_calls;
};

} // namespace dorvale::test
