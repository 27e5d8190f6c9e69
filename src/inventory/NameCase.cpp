#include "inventory/NameCase.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace dorvale {

std::string lowercased(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    while (offset < length) {
        const std::int32_t start = offset;
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0) {
            // Keep the one ill-formed byte and go on after it.
            offset = start + 1;
            result += text[static_cast<std::size_t>(start)];
            continue;
        }
        std::uint8_t encoded[U8_MAX_LENGTH];
        std::int32_t used = 0;
        U8_APPEND_UNSAFE(encoded, used, u_tolower(c));
        result.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(used));
    }
    return result;
}

std::size_t characterCount(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    std::size_t count = 0;
    while (offset < length) {
        const std::int32_t start = offset;
        UChar32 c = 0;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0) {
            offset = start + 1;
        }
        ++count;
    }
    return count;
}

} // namespace dorvale
