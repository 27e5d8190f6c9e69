#include "platform/SpotlightMetadata.hpp"

namespace dorvale {

namespace {

class NoSpotlightMetadata final : public SpotlightMetadata {
public:
    [[nodiscard]] std::optional<Timestamp>
    lastUsedDate(const std::string& /*path*/) const override {
        return std::nullopt;
    }
};

} // namespace

const SpotlightMetadata& SpotlightMetadata::system() {
    static const NoSpotlightMetadata metadata;
    return metadata;
}

} // namespace dorvale
