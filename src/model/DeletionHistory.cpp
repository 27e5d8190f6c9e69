#include "model/DeletionHistory.hpp"

#include "platform/FileLock.hpp"
#include "platform/FileOperations.hpp"
#include "platform/JsonBounds.hpp"
#include "platform/Log.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"
#include "platform/Trash.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <variant>

namespace dorvale {

namespace {

using Json = nlohmann::json;

std::string toBase64(std::string_view bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                       reinterpret_cast<const unsigned char*>(bytes.data()),
                                       static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::optional<std::string> fromBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string bytes(text.size() / 4 * 3, '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                       reinterpret_cast<const unsigned char*>(text.data()),
                                       static_cast<int>(text.size()));
    if (length < 0) {
        return std::nullopt;
    }
    // The decoder counts the padding as zero bytes.
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    bytes.resize(static_cast<std::size_t>(length) - padding);
    return bytes;
}

// Most paths are plain ASCII, which needs no closer look.
bool isValidUtf8(std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii || toValidUtf8(bytes) == bytes;
}

// How `c` is written inside a JSON string, or nothing when it stands as itself.
std::string_view escaped(char c, std::string& control) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '/':
        return "\\/";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        if (static_cast<unsigned char>(c) < 0x20) {
            control = "\\u00" + toHex(std::string_view(&c, 1));
            return control;
        }
        return {};
    }
}

// Appends `text` (valid UTF-8) as a JSON string, with "/" escaped as "\/". The file is
// rewritten at every change, so the characters that need no escape go in runs.
void appendString(std::string& out, std::string_view text) {
    out += '"';
    std::string control;
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view escape = escaped(text[i], control);
        if (!escape.empty()) {
            out.append(text.substr(run, i - run));
            out.append(escape);
            run = i + 1;
        }
    }
    out.append(text.substr(run));
    out += '"';
}

// The shortest text that reads back as the same double; a date that is not finite
// (which JSON cannot hold) is written as the reference date.
void appendNumber(std::string& out, double value) {
    char text[32];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, std::isfinite(value) ? value : 0.0);
    out.append(text, error == std::errc() ? end : text);
}

void appendKey(std::string& out, std::string_view key) {
    out += ',';
    appendString(out, key);
    out += ':';
}

void appendPath(std::string& out, std::string_view key, std::string_view path) {
    appendKey(out, key);
    if (isValidUtf8(path)) {
        appendString(out, path);
    } else {
        appendString(out, toValidUtf8(path));
    }
}

// Exact bytes of a path that the UTF-8 text cannot carry.
void appendPathBytes(std::string& out, std::string_view key, std::string_view path) {
    if (!isValidUtf8(path)) {
        appendKey(out, key);
        appendString(out, toBase64(path));
    }
}

void appendEntry(std::string& out, const HistoryEntry& entry) {
    out += "{\"id\":";
    appendString(out, entry.id.text());
    appendKey(out, "date");
    appendNumber(out, entry.date - referenceDate);
    appendPath(out, "originalPath", entry.originalPath);
    if (entry.trashPath) {
        appendPath(out, "trashPath", *entry.trashPath);
    }
    appendKey(out, "size");
    out += std::to_string(entry.size);
    appendKey(out, "restored");
    out += entry.restored ? "true" : "false";
    appendPathBytes(out, "originalPathBytes", entry.originalPath);
    if (entry.trashPath) {
        appendPathBytes(out, "trashPathBytes", *entry.trashPath);
    }
    out += '}';
}

// The file's text for the newest of `entries` that fit in the file's limit; the others are
// dropped from `entries`.
std::string encode(std::vector<HistoryEntry>& entries) {
    std::string out = "[";
    std::string piece;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        piece.clear();
        if (i > 0) {
            piece += ',';
        }
        appendEntry(piece, entries[i]);
        if (out.size() + piece.size() + 1 > DeletionHistory::maximumFileBytes) {
            entries.resize(i);
            break;
        }
        out += piece;
    }
    out += ']';
    return out;
}

// The file holds an array of flat objects; anything much deeper was not written by a
// program that keeps this history.
constexpr std::size_t maximumDepth = 64;

// The last value an entry gave one of its keys; a nested array or object counts as `Nested`.
struct Nested {};
using Scalar =
    std::variant<std::nullptr_t, bool, std::int64_t, std::uint64_t, double, std::string, Nested>;

enum Field { Id, Date, OriginalPath, TrashPath, Size, Restored, OriginalBytes, TrashBytes, None };

Field fieldNamed(std::string_view key) {
    static constexpr std::string_view names[] = {
        "id",   "date",     "originalPath",      "trashPath",
        "size", "restored", "originalPathBytes", "trashPathBytes"};
    const auto* found = std::find(std::begin(names), std::end(names), key);
    return static_cast<Field>(found - std::begin(names));
}

using Fields = std::array<std::optional<Scalar>, None>;

const std::string* textOf(const std::optional<Scalar>& value) {
    return value ? std::get_if<std::string>(&*value) : nullptr;
}

std::optional<double> numberOf(const std::optional<Scalar>& value) {
    if (!value) {
        return std::nullopt;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&*value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* natural = std::get_if<std::uint64_t>(&*value)) {
        return static_cast<double>(*natural);
    }
    if (const auto* real = std::get_if<double>(&*value)) {
        return *real;
    }
    return std::nullopt;
}

std::optional<std::int64_t> sizeOf(const std::optional<Scalar>& value) {
    if (!value) {
        return std::nullopt;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&*value)) {
        return *integer;
    }
    const auto* natural = std::get_if<std::uint64_t>(&*value);
    if (natural == nullptr ||
        *natural > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*natural);
}

// The exact bytes of a path written with a replaced sequence, when the extra key holds
// them and they still match the text (another program may have edited the path).
std::string exactPath(const std::optional<Scalar>& bytes, const std::string& text) {
    const std::string* encoded = textOf(bytes);
    if (encoded == nullptr) {
        return text;
    }
    auto decoded = fromBase64(*encoded);
    return decoded && toValidUtf8(*decoded) == text ? std::move(*decoded) : text;
}

std::optional<HistoryEntry> entryOf(const Fields& fields) {
    const std::string* id = textOf(fields[Id]);
    const std::optional<double> date = numberOf(fields[Date]);
    const std::string* originalPath = textOf(fields[OriginalPath]);
    const std::optional<std::int64_t> size = sizeOf(fields[Size]);
    const auto& restored = fields[Restored];
    const auto& trashPath = fields[TrashPath];
    const bool trashPathFits = !trashPath || std::holds_alternative<std::nullptr_t>(*trashPath) ||
                               std::holds_alternative<std::string>(*trashPath);
    const auto uuid = id != nullptr ? Uuid::parse(*id) : std::nullopt;
    if (!uuid || !date || originalPath == nullptr || !size || !restored ||
        !std::holds_alternative<bool>(*restored) || !trashPathFits) {
        return std::nullopt;
    }
    HistoryEntry entry{.id = *uuid,
                       .date = *date + referenceDate,
                       .originalPath = exactPath(fields[OriginalBytes], *originalPath),
                       .size = *size,
                       .restored = std::get<bool>(*restored)};
    if (const std::string* trash = textOf(trashPath)) {
        entry.trashPath = exactPath(fields[TrashBytes], *trash);
    }
    return entry;
}

// Reads the array of entries straight from the parser's events, with no document built
// first: a start waits for this. As with a document, the last value of a repeated key holds,
// and keys it does not know may hold anything.
class EntryReader {
public:
    using Number = Json::number_float_t;

    std::vector<HistoryEntry> entries;

    bool null() { return scalar(nullptr); }
    bool boolean(bool value) { return scalar(value); }
    bool number_integer(Json::number_integer_t value) { return scalar(std::int64_t{value}); }
    bool number_unsigned(Json::number_unsigned_t value) { return scalar(std::uint64_t{value}); }
    bool number_float(Number value, const std::string& /*text*/) { return scalar(value); }
    bool string(std::string& value) { return scalar(std::move(value)); }
    bool binary(Json::binary_t& /*value*/) { return false; }
    bool key(std::string& name) {
        m_field = fieldNamed(name);
        return true;
    }
    bool start_object(std::size_t /*elements*/) { return open(true); }
    bool start_array(std::size_t /*elements*/) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                     const nlohmann::detail::exception& /*error*/) {
        return false;
    }

private:
    // Levels: 1 is the file's array, 2 an entry, deeper a value of a key it does not know.
    bool scalar(Scalar value) {
        if (m_depth != 2) {
            return m_depth > 2;
        }
        if (m_field != None) {
            m_fields[m_field] = std::move(value);
        }
        return true;
    }

    bool open(bool object) {
        if (m_depth == 0 && object) {
            return false;
        }
        if (m_depth == 1) {
            if (!object) {
                return false;
            }
            m_fields = {};
        } else if (m_depth == 2 && !scalar(Nested{})) {
            return false;
        }
        ++m_depth;
        return true;
    }

    bool close() {
        if (m_depth-- != 2) {
            return true;
        }
        std::optional<HistoryEntry> entry = entryOf(m_fields);
        if (entry) {
            entries.push_back(std::move(*entry));
        }
        return entry.has_value();
    }

    int m_depth = 0;
    Field m_field = None;
    Fields m_fields;
};

std::optional<std::vector<HistoryEntry>> decode(std::string_view text) {
    if (!nestsWithin(text, maximumDepth)) {
        return std::nullopt;
    }
    EntryReader reader;
    if (!Json::sax_parse(text, &reader)) {
        return std::nullopt;
    }
    return std::move(reader.entries);
}

} // namespace

std::string DeletionHistory::defaultLocation(const Locations& locations) {
    return joinPath(locations.applicationSupport(), "history.json");
}

DeletionHistory::DeletionHistory(std::string fileLocation)
    : m_fileLocation(std::move(fileLocation)) {
    // A folder that cannot be made shows up later as a failed save, which is dropped.
    (void)createFolderChain(parentPath(m_fileLocation));
    load();
}

DeletionHistory::~DeletionHistory() {
    // The owner may be going too; it is told nothing more.
    m_observer = nullptr;
    flush();
}

void DeletionHistory::load() {
    m_stamp = FileStamp::of(m_fileLocation);
    Result<std::string> contents = readFile(m_fileLocation, maximumFileBytes);
    if (!contents.ok()) {
        if (contents.error().code != ENOENT) {
            setAside();
        }
        return;
    }
    if (auto decoded = decode(contents.value())) {
        m_entries = std::move(*decoded);
    } else {
        setAside();
    }
}

void DeletionHistory::setAside() {
    m_stamp.reset();
    m_mayWrite = dorvale::setAside(m_fileLocation, ".unreadable").ok();
}

void DeletionHistory::changed() const {
    if (m_observer) {
        m_observer();
    }
}

void DeletionHistory::apply(const Change& change, std::vector<HistoryEntry>& entries) {
    if (change.clear) {
        entries.clear();
    }
    if (change.restored) {
        const auto listed =
            std::find_if(entries.begin(), entries.end(),
                         [&](const HistoryEntry& e) { return e.id == *change.restored; });
        if (listed != entries.end()) {
            listed->restored = true;
        }
    }
    if (!change.recorded.empty()) {
        entries.insert(entries.begin(), change.recorded.begin(), change.recorded.end());
        if (entries.size() > DeletionHistory::maximumEntries) {
            entries.resize(DeletionHistory::maximumEntries);
        }
    }
}

// While the file is as this store last saw it, or gone, the entries in memory are what it
// holds plus this store's unwritten changes; a file another process wrote is read again and
// those changes are made to it once more.
std::vector<HistoryEntry> DeletionHistory::base() {
    const std::optional<FileStamp> stamp = FileStamp::of(m_fileLocation);
    if (!m_mayWrite || !stamp || stamp == m_stamp) {
        return m_entries;
    }
    Result<std::string> contents = readFile(m_fileLocation, maximumFileBytes);
    auto decoded = contents.ok() ? decode(contents.value()) : std::nullopt;
    if (!decoded) {
        if (contents.ok() || contents.error().code != ENOENT) {
            setAside();
        }
        return m_entries;
    }
    m_stamp = stamp;
    for (const Change& unwritten : m_unwritten) {
        apply(unwritten, *decoded);
    }
    return std::move(*decoded);
}

void DeletionHistory::commit(std::optional<Change> change) {
    std::vector<HistoryEntry> entries;
    {
        const FileLock lock = FileLock::onFolder(std::string(parentPath(m_fileLocation)));
        entries = base();
        if (change) {
            apply(*change, entries);
            if (m_mayWrite) {
                m_unwritten.push_back(std::move(*change));
            }
        }
        if (m_mayWrite) {
            write(entries);
        }
    }
    m_entries = std::move(entries);
    changed();
}

void DeletionHistory::write(std::vector<HistoryEntry>& entries) {
    const Result<void> written = writeFileAtomically(m_fileLocation, encode(entries));
    if (written.ok()) {
        m_unwritten.clear();
        m_failureLogged = false;
        m_stamp = FileStamp::of(m_fileLocation);
        return;
    }
    if (!m_failureLogged) {
        m_failureLogged = true;
        logWarning("Deletion history not saved: " + written.error().description() +
                   ". Its changes are kept and written with the next one.");
    }
}

void DeletionHistory::record(std::vector<HistoryEntry> newEntries) {
    commit(Change{.recorded = std::move(newEntries)});
}

Result<void> DeletionHistory::restore(const HistoryEntry& entry) {
    if (!entry.trashPath) {
        return {};
    }
    if (Result<void> moved = Trash::restore(*entry.trashPath, entry.originalPath); !moved.ok()) {
        return moved;
    }
    commit(Change{.restored = entry.id});
    return {};
}

void DeletionHistory::clear() {
    commit(Change{.clear = true});
}

void DeletionHistory::flush() {
    if (!m_unwritten.empty()) {
        commit(std::nullopt);
    }
}

} // namespace dorvale
