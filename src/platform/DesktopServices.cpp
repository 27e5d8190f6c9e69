#include "platform/DesktopServices.hpp"

namespace dorvale {

namespace {

class NoDesktopServices final : public DesktopServices {
public:
    void open(const std::string& /*path*/) override {}
    void reveal(const std::vector<std::string>& /*paths*/) override {}
};

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

} // namespace

DesktopServices& DesktopServices::none() {
    static NoDesktopServices services;
    return services;
}

std::string fileUri(std::string_view path) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    uri.reserve(uri.size() + path.size());
    for (const char byte : path) {
        const auto c = static_cast<unsigned char>(byte);
        if (isUnreserved(c)) {
            uri += byte;
        } else {
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 0x0F];
        }
    }
    return uri;
}

} // namespace dorvale
