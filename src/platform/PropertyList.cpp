#include "platform/PropertyList.hpp"

#include "platform/FileOperations.hpp"
#include "platform/PropertyListBounds.hpp"

#include <plist/plist.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <unordered_set>

namespace dorvale {

// Fills dictionaries during parsing without the per-key search of `set`, so a list with
// very many keys still parses in linear time. The caller keeps keys unique.
struct PropertyListBuilder {
    static void add(PropertyList& dictionary, std::string key, PropertyList value) {
        dictionary.m_keys.push_back(std::move(key));
        dictionary.m_items.push_back(std::move(value));
    }
};

namespace {

// Larger files are not property lists this program has any use for.
constexpr std::size_t maximumFileSize = 64 * 1024 * 1024;
// Lists that would grow past these once parsed are treated as damage: a list this program
// reads holds a few thousand values at most. Deeper nesting is not walked either.
constexpr PropertyListBounds bounds{
    .maximumValues = 1'000'000, .maximumBytes = maximumFileSize, .maximumDepth = 512};

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

std::optional<PropertyList> convert(plist_t node, int depth);

std::optional<PropertyList> convertArray(plist_t node, int depth) {
    PropertyList result = PropertyList::makeArray();
    const std::uint32_t count = plist_array_get_size(node);
    for (std::uint32_t index = 0; index < count; ++index) {
        std::optional<PropertyList> item = convert(plist_array_get_item(node, index), depth + 1);
        if (!item) {
            return std::nullopt;
        }
        result.append(std::move(*item));
    }
    return result;
}

std::optional<PropertyList> convertDictionary(plist_t node, int depth) {
    PropertyList result = PropertyList::makeDictionary();
    plist_dict_iter rawIterator = nullptr;
    plist_dict_new_iter(node, &rawIterator);
    const std::unique_ptr<void, FreeDeleter> iterator(rawIterator);
    std::unordered_set<std::string> seen;
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, rawIterator, &rawKey, &value);
        const std::unique_ptr<char, FreeDeleter> key(rawKey);
        if (value == nullptr) {
            return result;
        }
        std::optional<PropertyList> converted = convert(value, depth + 1);
        if (!converted || key == nullptr) {
            return std::nullopt;
        }
        // A damaged file may repeat a key; the first value stands.
        if (!seen.insert(key.get()).second) {
            continue;
        }
        PropertyListBuilder::add(result, key.get(), std::move(*converted));
    }
}

std::optional<PropertyList> convertScalar(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return PropertyList::makeBoolean(value != 0);
    }
    case PLIST_UINT:
    case PLIST_UID: {
        std::uint64_t value = 0;
        if (plist_get_node_type(node) == PLIST_UINT) {
            plist_get_uint_val(node, &value);
        } else {
            plist_get_uid_val(node, &value);
        }
        // Negative integers are kept in two's complement.
        return PropertyList::makeInteger(static_cast<std::int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return PropertyList::makeReal(value);
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return PropertyList::makeString(text ? std::string(text, length) : std::string());
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return PropertyList::makeDate(referenceDate + seconds + microseconds / 1e6);
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return PropertyList::makeData(bytes ? std::string(bytes, length) : std::string());
    }
    default:
        return std::nullopt;
    }
}

std::optional<PropertyList> convert(plist_t node, int depth) {
    if (node == nullptr || depth > bounds.maximumDepth) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY:
        return convertArray(node, depth);
    case PLIST_DICT:
        return convertDictionary(node, depth);
    default:
        return convertScalar(node);
    }
}

std::optional<PropertyList> keepDictionary(std::optional<PropertyList> list) {
    if (list && list->isDictionary()) {
        return list;
    }
    return std::nullopt;
}

} // namespace

std::optional<PropertyList> PropertyList::parse(std::string_view bytes) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(byteOrderMark)) {
        bytes.remove_prefix(byteOrderMark.size());
    }
    if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max() ||
        !bounds.admits(bytes)) {
        return std::nullopt;
    }
    plist_t raw = nullptr;
    plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
    const PlistHandle root(raw);
    return convert(raw, 0);
}

std::optional<PropertyList> PropertyList::readFile(const std::string& path) {
    const Result<std::string> contents = dorvale::readFile(path, maximumFileSize);
    return contents.ok() ? parse(contents.value()) : std::nullopt;
}

std::optional<PropertyList> PropertyList::parseDictionary(std::string_view bytes) {
    return keepDictionary(parse(bytes));
}

std::optional<PropertyList> PropertyList::readDictionaryFile(const std::string& path) {
    return keepDictionary(readFile(path));
}

PropertyList PropertyList::makeDictionary() {
    return PropertyList(Type::Dictionary);
}

PropertyList PropertyList::makeArray(std::vector<PropertyList> items) {
    PropertyList list(Type::Array);
    list.m_items = std::move(items);
    return list;
}

PropertyList PropertyList::makeString(std::string text) {
    PropertyList list(Type::String);
    list.m_text = std::move(text);
    return list;
}

PropertyList PropertyList::makeInteger(std::int64_t value) {
    PropertyList list(Type::Integer);
    list.m_integer = value;
    return list;
}

PropertyList PropertyList::makeReal(double value) {
    PropertyList list(Type::Real);
    list.m_real = value;
    return list;
}

PropertyList PropertyList::makeBoolean(bool value) {
    PropertyList list(Type::Boolean);
    list.m_boolean = value;
    return list;
}

PropertyList PropertyList::makeDate(Timestamp time) {
    PropertyList list(Type::Date);
    list.m_real = time;
    return list;
}

PropertyList PropertyList::makeData(std::string bytes) {
    PropertyList list(Type::Data);
    list.m_text = std::move(bytes);
    return list;
}

std::optional<std::string> PropertyList::asString() const {
    return m_type == Type::String ? std::optional(m_text) : std::nullopt;
}

std::optional<std::int64_t> PropertyList::asInteger() const {
    return m_type == Type::Integer ? std::optional(m_integer) : std::nullopt;
}

std::optional<double> PropertyList::asReal() const {
    return m_type == Type::Real ? std::optional(m_real) : std::nullopt;
}

std::optional<bool> PropertyList::asBoolean() const {
    return m_type == Type::Boolean ? std::optional(m_boolean) : std::nullopt;
}

std::optional<Timestamp> PropertyList::asDate() const {
    return m_type == Type::Date ? std::optional(m_real) : std::nullopt;
}

std::optional<std::string> PropertyList::asData() const {
    return m_type == Type::Data ? std::optional(m_text) : std::nullopt;
}

std::optional<std::vector<std::string>> PropertyList::asStrings() const {
    if (m_type != Type::Array) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    texts.reserve(m_items.size());
    for (const PropertyList& item : m_items) {
        if (item.m_type != Type::String) {
            return std::nullopt;
        }
        texts.push_back(item.m_text);
    }
    return texts;
}

const PropertyList* PropertyList::find(std::string_view key) const {
    for (std::size_t index = 0; index < m_keys.size(); ++index) {
        if (m_keys[index] == key) {
            return &m_items[index];
        }
    }
    return nullptr;
}

std::optional<std::string> PropertyList::string(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asString() : std::nullopt;
}

std::optional<std::int64_t> PropertyList::integer(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asInteger() : std::nullopt;
}

std::optional<double> PropertyList::real(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asReal() : std::nullopt;
}

std::optional<bool> PropertyList::boolean(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asBoolean() : std::nullopt;
}

std::optional<Timestamp> PropertyList::date(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asDate() : std::nullopt;
}

std::optional<std::vector<std::string>> PropertyList::strings(std::string_view key) const {
    const PropertyList* value = find(key);
    return value ? value->asStrings() : std::nullopt;
}

const PropertyList* PropertyList::dictionary(std::string_view key) const {
    const PropertyList* value = find(key);
    return value && value->isDictionary() ? value : nullptr;
}

const PropertyList* PropertyList::array(std::string_view key) const {
    const PropertyList* value = find(key);
    return value && value->isArray() ? value : nullptr;
}

void PropertyList::append(PropertyList item) {
    if (m_type == Type::Array) {
        m_items.push_back(std::move(item));
    }
}

void PropertyList::set(std::string key, PropertyList value) {
    if (m_type != Type::Dictionary) {
        return;
    }
    for (std::size_t index = 0; index < m_keys.size(); ++index) {
        if (m_keys[index] == key) {
            m_items[index] = std::move(value);
            return;
        }
    }
    m_keys.push_back(std::move(key));
    m_items.push_back(std::move(value));
}

} // namespace dorvale
