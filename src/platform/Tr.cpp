#include "platform/Tr.hpp"

namespace dorvale {

std::string_view tr(std::string_view key) {
    return key;
}

} // namespace dorvale
