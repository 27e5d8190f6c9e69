#include "platform/Text.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <span>

namespace dorvale {

namespace {

// The code point of `text` at `offset`, moving `offset` past it. An ill-formed byte gives a
// negative value derived from that byte alone, so it equals only the same byte, and
// `offset` moves on by one.
UChar32 nextCodePoint(std::string_view text, std::int32_t& offset) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::uint8_t lead = bytes[offset];
    if (lead < 0x80) {
        ++offset;
        return lead;
    }
    const std::int32_t start = offset;
    UChar32 c = 0;
    U8_NEXT(bytes, offset, static_cast<std::int32_t>(text.size()), c);
    if (c < 0) {
        offset = start + 1;
        return -1 - static_cast<UChar32>(lead);
    }
    return c;
}

// The next code point, case-folded.
UChar32 nextFolded(std::string_view text, std::int32_t& offset) {
    const UChar32 c = nextCodePoint(text, offset);
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    }
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

// Whether the folded code points of `query` follow in `text` from `offset`.
bool matchesAt(std::string_view text, std::int32_t offset, std::span<const UChar32> query) {
    const auto textLength = static_cast<std::int32_t>(text.size());
    for (const UChar32 folded : query) {
        if (offset >= textLength || nextFolded(text, offset) != folded) {
            return false;
        }
    }
    return true;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char foldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

std::string toValidUtf8(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto length = static_cast<std::int32_t>(bytes.size());
    std::int32_t offset = 0;
    while (offset < length) {
        const std::int32_t start = offset;
        UChar32 c = 0;
        U8_NEXT(data, offset, length, c);
        if (c < 0) {
            result += "\xEF\xBF\xBD";
        } else {
            result.append(bytes.substr(static_cast<std::size_t>(start),
                                       static_cast<std::size_t>(offset - start)));
        }
    }
    return result;
}

std::string percentEncodePath(std::string_view path) {
    const auto keeps = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    };
    std::string result;
    result.reserve(path.size());
    for (const char byte : path) {
        if (keeps(static_cast<unsigned char>(byte))) {
            result += byte;
        } else {
            result += '%';
            result += toHex(std::string_view(&byte, 1), HexCase::Upper);
        }
    }
    return result;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string toHex(std::string_view bytes, HexCase letters) {
    const std::string_view digits =
        letters == HexCase::Lower ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0x0F];
    }
    return hex;
}

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t index = 0; index < hex.size(); index += 2) {
        const int high = hexDigitValue(hex[index]);
        const int low = hexDigitValue(hex[index + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::string lowercased(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    while (offset < length) {
        const std::int32_t start = offset;
        const UChar32 c = nextCodePoint(text, offset);
        if (c < 0) {
            // An ill-formed byte is kept as it is.
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
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    std::size_t count = 0;
    while (offset < length) {
        nextCodePoint(text, offset);
        ++count;
    }
    return count;
}

bool containsIgnoringCase(std::string_view text, std::string_view query) {
    return FoldedQuery(query).foundIn(text);
}

FoldedQuery::FoldedQuery(std::string_view query) {
    const auto length = static_cast<std::int32_t>(query.size());
    std::int32_t offset = 0;
    while (offset < length) {
        m_folded.push_back(nextFolded(query, offset));
    }
    if (std::all_of(m_folded.begin(), m_folded.end(),
                    [](UChar32 c) { return c >= 0 && c < 0x80; })) {
        m_ascii = std::string(m_folded.begin(), m_folded.end());
    }
}

bool FoldedQuery::foundIn(std::string_view text) const {
    if (m_folded.empty()) {
        return true;
    }
    // Code points beyond ASCII can fold into it (the Kelvin sign into "k"), so only a text
    // that is all ASCII is compared byte by byte.
    if (m_ascii && isAscii(text)) {
        return foundInAscii(text);
    }
    const auto textLength = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    while (offset < textLength) {
        if (matchesAt(text, offset, m_folded)) {
            return true;
        }
        nextFolded(text, offset);
    }
    return false;
}

bool FoldedQuery::beginsText(std::string_view text) const {
    return matchesAt(text, 0, m_folded);
}

bool FoldedQuery::endsText(std::string_view text) const {
    const auto start = static_cast<std::int32_t>(lastCodePointsStart(text, m_folded.size()));
    return characterCount(text.substr(static_cast<std::size_t>(start))) == m_folded.size() &&
           matchesAt(text, start, m_folded);
}

bool FoldedQuery::foundInAscii(std::string_view text) const {
    const std::string& query = *m_ascii;
    if (query.size() > text.size()) {
        return false;
    }
    const std::size_t last = text.size() - query.size();
    for (std::size_t start = 0; start <= last; ++start) {
        std::size_t i = 0;
        while (i < query.size() && foldedAscii(text[start + i]) == query[i]) {
            ++i;
        }
        if (i == query.size()) {
            return true;
        }
    }
    return false;
}

std::size_t lastCodePointsStart(std::string_view text, std::size_t count) {
    const std::size_t total = characterCount(text);
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t offset = 0;
    for (std::size_t skipped = 0; skipped + count < total && offset < length; ++skipped) {
        nextCodePoint(text, offset);
    }
    return static_cast<std::size_t>(offset);
}

std::vector<std::string_view> nonEmptyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (end > 0) {
            lines.push_back(text.substr(0, end));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

} // namespace dorvale
