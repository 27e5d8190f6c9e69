#include "platform/Uuid.hpp"

#include "platform/Text.hpp"

#include <openssl/rand.h>

#include <random>
#include <string_view>

namespace dorvale {

namespace {

// Offsets in the text form where a "-" stands.
constexpr bool isDashOffset(std::size_t offset) {
    return offset == 8 || offset == 13 || offset == 18 || offset == 23;
}

void fillRandom(std::array<std::uint8_t, 16>& bytes) {
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) == 1) {
        return;
    }
    // The OpenSSL generator only fails when it cannot be seeded; the kernel's source
    // behind random_device is then the best that is left.
    std::random_device device;
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(device());
    }
}

} // namespace

Uuid Uuid::random() {
    Uuid id;
    fillRandom(id.bytes);
    id.bytes[6] = static_cast<std::uint8_t>((id.bytes[6] & 0x0F) | 0x40);
    id.bytes[8] = static_cast<std::uint8_t>((id.bytes[8] & 0x3F) | 0x80);
    return id;
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) {
        return std::nullopt;
    }
    Uuid id;
    std::size_t byte = 0;
    for (std::size_t offset = 0; offset < text.size(); ++offset) {
        if (isDashOffset(offset)) {
            if (text[offset] != '-') {
                return std::nullopt;
            }
            continue;
        }
        const int high = hexDigitValue(text[offset]);
        const int low = hexDigitValue(text[++offset]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        id.bytes[byte++] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return id;
}

std::string Uuid::text() const {
    std::string result =
        toHex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
              HexCase::Upper);
    // From the back, so that each insertion leaves the earlier offsets as they are.
    for (const std::size_t offset : {20, 16, 12, 8}) {
        result.insert(offset, 1, '-');
    }
    return result;
}

} // namespace dorvale
