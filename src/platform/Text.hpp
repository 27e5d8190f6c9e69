#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text helpers that work on raw bytes, which need not be valid UTF-8.
namespace dorvale {

/// The bytes as UTF-8, each ill-formed sequence replaced by U+FFFD.
[[nodiscard]] std::string toValidUtf8(std::string_view bytes);

/// `path` with every byte except letters, digits, "-", ".", "_", "~" and "/" written as
/// "%XX", so any name, valid UTF-8 or not, survives in a URI or a ".trashinfo" file.
[[nodiscard]] std::string percentEncodePath(std::string_view path);

/// The value of a hexadecimal digit of either case, or -1 for any other character.
[[nodiscard]] int hexDigitValue(char c);

/// The letters of hexadecimal digits above 9.
enum class HexCase { Lower, Upper };

/// Each byte as two hexadecimal digits, the high one first ("0aff" for 0x0A 0xFF).
[[nodiscard]] std::string toHex(std::string_view bytes, HexCase letters = HexCase::Lower);

/// The bytes written as pairs of hexadecimal digits of either case; nothing for an odd
/// number of digits or any other character.
[[nodiscard]] std::optional<std::string> fromHex(std::string_view hex);

/// The lines of `text`, split at each line feed, in order and without the empty ones; nothing
/// is trimmed. The views point into `text`.
[[nodiscard]] std::vector<std::string_view> nonEmptyLines(std::string_view text);

/// The text with every code point lowercased (simple Unicode mapping). Bytes that are not
/// valid UTF-8 are kept as they are, so a name compares equal only to the same bytes.
[[nodiscard]] std::string lowercased(std::string_view text);

/// The number of code points in the text, each ill-formed byte counting as one.
[[nodiscard]] std::size_t characterCount(std::string_view text);

/// Whether `text` contains `query`, comparing case-folded code points. Bytes that are not
/// valid UTF-8 compare only with the same bytes, so such a name matches only a query that
/// really occurs in it. An empty query is contained in every text.
[[nodiscard]] bool containsIgnoringCase(std::string_view text, std::string_view query);

/// A query folded once and searched for in many texts: `foundIn` answers as
/// `containsIgnoringCase` does, and takes a shortcut over texts that are all ASCII.
class FoldedQuery {
public:
    explicit FoldedQuery(std::string_view query);

    [[nodiscard]] bool foundIn(std::string_view text) const;
    /// Whether `text` begins or ends with the query, compared as `foundIn` compares.
    [[nodiscard]] bool beginsText(std::string_view text) const;
    [[nodiscard]] bool endsText(std::string_view text) const;
    /// The number of code points of the query; a match spans as many of the text's.
    [[nodiscard]] std::size_t length() const { return m_folded.size(); }

private:
    [[nodiscard]] bool foundInAscii(std::string_view text) const;

    std::vector<std::int32_t> m_folded;
    // The folded query as bytes, when every code point of it is ASCII.
    std::optional<std::string> m_ascii;
};

/// Where the last `count` code points of `text` begin, counted as `characterCount` counts
/// them; 0 when the text has no more than `count`.
[[nodiscard]] std::size_t lastCodePointsStart(std::string_view text, std::size_t count);

} // namespace dorvale
