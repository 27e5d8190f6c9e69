#include "support/FakeNotifier.hpp"

namespace dorvale::test {

void FakeNotifier::post(const std::string& title, const std::string& body) {
    m_posted.push_back({title, body});
}

void FakeNotifier::requestPermission() {
    ++m_permissionRequests;
}

} // namespace dorvale::test
