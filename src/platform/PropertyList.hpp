#pragma once

#include "platform/Clock.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// One value of a property list, owned and independent of the parser: a dictionary, an
/// array, a string, an integer, a real, a boolean, a date or data. Lookups are typed: asking
/// for a string where the list holds an integer gives nothing, as does asking a value that
/// is not a dictionary for a key. Reading keeps no state and may happen on any thread; the
/// readers of files block on the disk, but never wait on what is not a regular file.
class PropertyList {
public:
    enum class Type { Dictionary, Array, String, Integer, Real, Boolean, Date, Data };

    /// Parses XML or binary property-list bytes; a UTF-8 byte-order mark in front of XML is
    /// skipped. Damaged or truncated input gives nothing, as does a list that would expand
    /// past a million values or 64 MiB of strings and data (a binary list may refer to one
    /// value many times over), or nest deeper than 512 levels.
    [[nodiscard]] static std::optional<PropertyList> parse(std::string_view bytes);
    /// `parse` of a whole file; a file that cannot be read, is not a regular file (a FIFO, a
    /// device) or is larger than 64 MiB gives nothing.
    [[nodiscard]] static std::optional<PropertyList> readFile(const std::string& path);
    /// `parse`, keeping only a list whose top level is a dictionary.
    [[nodiscard]] static std::optional<PropertyList> parseDictionary(std::string_view bytes);
    /// `readFile`, keeping only a list whose top level is a dictionary.
    [[nodiscard]] static std::optional<PropertyList> readDictionaryFile(const std::string& path);

    /// Makers, for building values by hand.
    [[nodiscard]] static PropertyList makeDictionary();
    [[nodiscard]] static PropertyList makeArray(std::vector<PropertyList> items = {});
    [[nodiscard]] static PropertyList makeString(std::string text);
    [[nodiscard]] static PropertyList makeInteger(std::int64_t value);
    [[nodiscard]] static PropertyList makeReal(double value);
    [[nodiscard]] static PropertyList makeBoolean(bool value);
    [[nodiscard]] static PropertyList makeDate(Timestamp time);
    [[nodiscard]] static PropertyList makeData(std::string bytes);

    [[nodiscard]] Type type() const { return m_type; }
    [[nodiscard]] bool isDictionary() const { return m_type == Type::Dictionary; }
    [[nodiscard]] bool isArray() const { return m_type == Type::Array; }

    /// The value itself, when it has that type. Dates are seconds since 1970.
    [[nodiscard]] std::optional<std::string> asString() const;
    [[nodiscard]] std::optional<std::int64_t> asInteger() const;
    [[nodiscard]] std::optional<double> asReal() const;
    [[nodiscard]] std::optional<bool> asBoolean() const;
    [[nodiscard]] std::optional<Timestamp> asDate() const;
    [[nodiscard]] std::optional<std::string> asData() const;
    /// An array whose every element is a string, as those strings.
    [[nodiscard]] std::optional<std::vector<std::string>> asStrings() const;

    /// The elements of an array, or the values of a dictionary in the order of `keys()`;
    /// empty for every other type.
    [[nodiscard]] const std::vector<PropertyList>& items() const { return m_items; }
    /// The keys of a dictionary; empty for every other type.
    [[nodiscard]] const std::vector<std::string>& keys() const { return m_keys; }
    /// The value of `key` in a dictionary (matched exactly), or null.
    [[nodiscard]] const PropertyList* find(std::string_view key) const;

    /// Typed lookups of a dictionary's key: nothing when the key is missing, the value has
    /// another type, or this is no dictionary.
    [[nodiscard]] std::optional<std::string> string(std::string_view key) const;
    [[nodiscard]] std::optional<std::int64_t> integer(std::string_view key) const;
    [[nodiscard]] std::optional<double> real(std::string_view key) const;
    [[nodiscard]] std::optional<bool> boolean(std::string_view key) const;
    [[nodiscard]] std::optional<Timestamp> date(std::string_view key) const;
    [[nodiscard]] std::optional<std::vector<std::string>> strings(std::string_view key) const;
    /// The nested dictionary or array under `key`, or null.
    [[nodiscard]] const PropertyList* dictionary(std::string_view key) const;
    [[nodiscard]] const PropertyList* array(std::string_view key) const;

    /// Adds an element to an array, or sets `key` in a dictionary (replacing its value).
    void append(PropertyList item);
    void set(std::string key, PropertyList value);

    friend bool operator==(const PropertyList&, const PropertyList&) = default;

private:
    friend struct PropertyListBuilder;

    explicit PropertyList(Type type)
        : m_type(type) {}

    Type m_type;
    // The string of a string, the bytes of data.
    std::string m_text{};
    std::int64_t m_integer = 0;
    // A real, or a date in seconds since 1970.
    double m_real = 0;
    bool m_boolean = false;
    std::vector<std::string> m_keys{};
    std::vector<PropertyList> m_items{};
};

} // namespace dorvale
