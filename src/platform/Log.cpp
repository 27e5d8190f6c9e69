#include "platform/Log.hpp"

#include <cstdio>

namespace dorvale {

void logWarning(std::string_view line) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

} // namespace dorvale
