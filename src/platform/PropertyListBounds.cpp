#include "platform/PropertyListBounds.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace dorvale {

namespace {

constexpr std::string_view binaryMagic = "bplist00";
// The last bytes of a binary list: sizes and offsets of its object table.
constexpr std::size_t trailerSize = 32;

// A big-endian unsigned integer of `width` bytes (1 to 8) at `offset`.
std::uint64_t bigEndian(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index) {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + index]);
    }
    return value;
}

// What one object of a binary list becomes once every reference in it is copied out.
struct Expansion {
    std::uint64_t values = 0;
    std::uint64_t bytes = 0;
    // Levels of nesting beneath the object; negative while unknown.
    int height = unknown;

    static constexpr int unknown = -1;
    static constexpr int expanding = -2;
};

// Walks the object table of a binary list from its top object, summing what every object
// expands to. Each object is measured once and its measure reused for later references, so
// the walk takes time in proportion to the table, not to the expansion.
class BinaryListCheck {
public:
    BinaryListCheck(std::string_view bytes, const PropertyListBounds& bounds)
        : m_bytes(bytes)
        , m_bounds(bounds)
        , m_end(bytes.size() - trailerSize) {}

    bool run() {
        if (!readTrailer()) {
            return false;
        }
        m_measured.resize(m_objectCount);
        return measure(m_topObject, 0).has_value();
    }

private:
    bool readTrailer() {
        const std::size_t trailer = m_end;
        m_offsetSize = static_cast<unsigned char>(m_bytes[trailer + 6]);
        m_referenceSize = static_cast<unsigned char>(m_bytes[trailer + 7]);
        m_objectCount = bigEndian(m_bytes, trailer + 8, 8);
        m_topObject = bigEndian(m_bytes, trailer + 16, 8);
        m_tableOffset = bigEndian(m_bytes, trailer + 24, 8);
        const auto usableWidth = [](std::size_t width) {
            return width >= 1 && width <= 8;
        };
        // Every object of the table counts as at least one value, so a table with more
        // objects than values allowed is refused before anything is set aside for it.
        return usableWidth(m_offsetSize) && usableWidth(m_referenceSize) && m_objectCount >= 1 &&
               m_objectCount <= m_bounds.maximumValues && m_topObject < m_objectCount &&
               m_tableOffset >= binaryMagic.size() && m_tableOffset <= m_end &&
               m_objectCount <= (m_end - m_tableOffset) / m_offsetSize;
    }

    // Where an object starts, when that lies among the objects.
    std::optional<std::size_t> offsetOf(std::uint64_t object) const {
        const std::uint64_t offset =
            bigEndian(m_bytes, m_tableOffset + object * m_offsetSize, m_offsetSize);
        if (offset < binaryMagic.size() || offset >= m_end) {
            return std::nullopt;
        }
        return offset;
    }

    // The element count of the object at `offset`, kept in its marker or, when that holds
    // 15, in the integer that follows; `position` moves past it.
    std::optional<std::uint64_t> count(std::size_t offset, std::size_t& position) const {
        const unsigned inMarker = static_cast<unsigned char>(m_bytes[offset]) & 0x0F;
        position = offset + 1;
        if (inMarker != 0x0F) {
            return inMarker;
        }
        if (position >= m_end || (static_cast<unsigned char>(m_bytes[position]) & 0xF0) != 0x10) {
            return std::nullopt;
        }
        const std::size_t width = std::size_t{1} << (m_bytes[position] & 0x0F);
        if (width > 8 || m_end - position - 1 < width) {
            return std::nullopt;
        }
        position += 1 + width;
        return bigEndian(m_bytes, position - width, width);
    }

    std::optional<Expansion> measure(std::uint64_t object, int depth) {
        if (depth > m_bounds.maximumDepth) {
            return std::nullopt;
        }
        Expansion& known = m_measured[object];
        if (known.height >= 0) {
            return depth + known.height <= m_bounds.maximumDepth ? std::optional(known)
                                                                 : std::nullopt;
        }
        // Meeting an object again while it is still being measured means a loop.
        if (known.height == Expansion::expanding) {
            return std::nullopt;
        }
        known.height = Expansion::expanding;
        std::optional<Expansion> measured = measureObject(object, depth);
        known = measured.value_or(Expansion{});
        return measured;
    }

    std::optional<Expansion> measureObject(std::uint64_t object, int depth) {
        const std::optional<std::size_t> offset = offsetOf(object);
        if (!offset) {
            return std::nullopt;
        }
        std::size_t position = 0;
        switch (static_cast<unsigned char>(m_bytes[*offset]) >> 4) {
        case 0xA: // array
        case 0xC: // set
            return measureContainer(*offset, 1, depth);
        case 0xD: // dictionary: the keys, then the values
            return measureContainer(*offset, 2, depth);
        case 0x4: // data
        case 0x5: // ASCII string
        case 0x7: // UTF-8 string
            return measureLeaf(count(*offset, position), 1, position);
        case 0x6: // UTF-16 string
            return measureLeaf(count(*offset, position), 2, position);
        default:
            return Expansion{.values = 1, .bytes = 0, .height = 0};
        }
    }

    // A string or data of `length` units of `unitSize` bytes from `position`.
    std::optional<Expansion> measureLeaf(std::optional<std::uint64_t> length, std::size_t unitSize,
                                         std::size_t position) const {
        if (!length || *length > (m_end - position) / unitSize) {
            return std::nullopt;
        }
        return Expansion{.values = 1, .bytes = *length * unitSize, .height = 0};
    }

    // An array, set or dictionary of `count` elements, each `referencesPerElement` references.
    std::optional<Expansion> measureContainer(std::size_t offset, std::size_t referencesPerElement,
                                              int depth) {
        std::size_t position = 0;
        const std::optional<std::uint64_t> elements = count(offset, position);
        const std::size_t width = referencesPerElement * m_referenceSize;
        if (!elements || *elements > (m_end - position) / width) {
            return std::nullopt;
        }
        Expansion total{.values = 1, .bytes = 0, .height = 0};
        for (std::uint64_t index = 0; index < *elements * referencesPerElement; ++index) {
            const std::uint64_t reference =
                bigEndian(m_bytes, position + index * m_referenceSize, m_referenceSize);
            const std::optional<Expansion> element =
                reference < m_objectCount ? measure(reference, depth + 1) : std::nullopt;
            if (!element) {
                return std::nullopt;
            }
            total.values += element->values;
            total.bytes += element->bytes;
            total.height = std::max(total.height, element->height + 1);
            if (total.values > m_bounds.maximumValues || total.bytes > m_bounds.maximumBytes) {
                return std::nullopt;
            }
        }
        return total;
    }

    std::string_view m_bytes;
    const PropertyListBounds& m_bounds;
    // Where the trailer begins: nothing of the table or its objects lies beyond.
    std::size_t m_end;
    std::size_t m_offsetSize = 0;
    std::size_t m_referenceSize = 0;
    std::uint64_t m_objectCount = 0;
    std::uint64_t m_topObject = 0;
    std::uint64_t m_tableOffset = 0;
    std::vector<Expansion> m_measured;
};

// The index just past the first `marker` at or after `from`, or the end of the text.
std::size_t skipPast(std::string_view text, std::size_t from, std::string_view marker) {
    const std::size_t found = text.find(marker, from);
    return found == std::string_view::npos ? text.size() : found + marker.size();
}

// The index of the ">" that closes the tag opened at `from`; a ">" inside a quoted attribute
// value does not close it.
std::size_t tagEnd(std::string_view text, std::size_t from) {
    char quote = 0;
    for (std::size_t index = from + 1; index < text.size(); ++index) {
        const char c = text[index];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return index;
        }
    }
    return std::string_view::npos;
}

// Counts elements and their nesting in XML without building anything; comments, character
// data, declarations and processing instructions hold no elements.
bool xmlWithinBounds(std::string_view text, const PropertyListBounds& bounds) {
    std::size_t elements = 0;
    int depth = 0;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<!--")) {
            at = skipPast(text, at, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            at = skipPast(text, at, "]]>");
        } else if (rest.starts_with("<?") || rest.starts_with("<!")) {
            at = skipPast(text, at, ">");
        } else if (rest.starts_with("</")) {
            depth = std::max(0, depth - 1);
            at = skipPast(text, at, ">");
        } else {
            const std::size_t end = tagEnd(text, at);
            if (end == std::string_view::npos) {
                return true;
            }
            const bool opens = text[end - 1] != '/';
            depth += opens ? 1 : 0;
            // One more element and level for the wrapping <plist>, one more level for the
            // element that holds a leaf value.
            if (++elements > bounds.maximumValues + 1 || depth > bounds.maximumDepth + 2) {
                return false;
            }
            at = end + 1;
        }
    }
    return true;
}

} // namespace

bool PropertyListBounds::admits(std::string_view bytes) const {
    if (!bytes.starts_with(binaryMagic)) {
        return xmlWithinBounds(bytes, *this);
    }
    if (bytes.size() < binaryMagic.size() + trailerSize) {
        return false;
    }
    return BinaryListCheck(bytes, *this).run();
}

} // namespace dorvale
