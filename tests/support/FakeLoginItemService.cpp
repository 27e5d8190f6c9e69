#include "support/FakeLoginItemService.hpp"

namespace dorvale::test {

Result<void> FakeLoginItemService::registerItem() {
    return change("register", true);
}

Result<void> FakeLoginItemService::unregisterItem() {
    return change("unregister", false);
}

Result<bool> FakeLoginItemService::isEnabled() const {
    m_calls.emplace_back("isEnabled");
    if (m_failure) {
        return *m_failure;
    }
    return m_enabled;
}

Result<void> FakeLoginItemService::change(const char* call, bool enabled) {
    m_calls.emplace_back(call);
    if (m_failure) {
        return *m_failure;
    }
    m_enabled = enabled;
    return {};
}

} // namespace dorvale::test
