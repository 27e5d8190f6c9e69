#include "platform/DesktopServices.hpp"

#include "platform/Text.hpp"

namespace dorvale {

namespace {

class NoDesktopServices final : public DesktopServices {
public:
    void open(const std::string& /*path*/) override {}
    void reveal(const std::vector<std::string>& /*paths*/) override {}
};

} // namespace

DesktopServices& DesktopServices::none() {
    static NoDesktopServices services;
    return services;
}

std::string fileUri(std::string_view path) {
    return "file://" + percentEncodePath(path);
}

} // namespace dorvale
