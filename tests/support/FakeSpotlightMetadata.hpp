#pragma once

#include "platform/SpotlightMetadata.hpp"

#include <map>
#include <mutex>
#include <string>

namespace dorvale::test {

/// Last-used dates that the test sets by path.
class FakeSpotlightMetadata final : public SpotlightMetadata {
public:
    void setLastUsed(const std::string& path, Timestamp date);

    [[nodiscard]] std::optional<Timestamp> lastUsedDate(const std::string& path) const override;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, Timestamp> m_dates;
};

} // namespace dorvale::test
