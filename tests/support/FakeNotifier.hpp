#pragma once

#include "platform/Notifier.hpp"

#include <string>
#include <vector>

namespace dorvale::test {

/// A notifier that only records what was posted and asked, in order.
class FakeNotifier final : public Notifier {
public:
    struct Notification {
        std::string title;
        std::string body;
        bool operator==(const Notification&) const = default;
    };

    void post(const std::string& title, const std::string& body) override;
    void requestPermission() override;

    [[nodiscard]] const std::vector<Notification>& posted() const { return m_posted; }
    [[nodiscard]] int permissionRequests() const { return m_permissionRequests; }

private:
    std::vector<Notification> m_posted;
    int m_permissionRequests = 0;
};

} // namespace dorvale::test
