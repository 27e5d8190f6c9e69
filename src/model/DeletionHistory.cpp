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
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

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

bool isValidUtf8(std::string_view bytes) {
    return toValidUtf8(bytes) == bytes;
}

// Appends `text` (valid UTF-8) as a JSON string, with "/" escaped as "\/".
void appendString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '/':
            out += "\\/";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00" + toHex(std::string_view(&c, 1));
            } else {
                out += c;
            }
        }
    }
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
    appendString(out, toValidUtf8(path));
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

const Json* member(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

// The exact bytes of a path written with a replaced sequence, when the extra key holds
// them and they still match the text (another program may have edited the path).
std::string exactPath(const Json& object, const char* bytesKey, std::string text) {
    const Json* bytes = member(object, bytesKey);
    if (bytes == nullptr || !bytes->is_string()) {
        return text;
    }
    auto decoded = fromBase64(bytes->get_ref<const std::string&>());
    return decoded && toValidUtf8(*decoded) == text ? std::move(*decoded) : text;
}

std::optional<std::int64_t> readSize(const Json& object) {
    const Json* size = member(object, "size");
    if (size == nullptr || !size->is_number_integer()) {
        return std::nullopt;
    }
    if (size->is_number_unsigned() &&
        size->get<std::uint64_t>() >
            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return size->get<std::int64_t>();
}

// The trash path: absent when missing or null; `false` when it has the wrong type.
bool readTrashPath(const Json& object, std::optional<std::string>& trashPath) {
    const Json* value = member(object, "trashPath");
    if (value == nullptr || value->is_null()) {
        return true;
    }
    if (!value->is_string()) {
        return false;
    }
    trashPath = exactPath(object, "trashPathBytes", value->get<std::string>());
    return true;
}

std::optional<HistoryEntry> decodeEntry(const Json& object) {
    if (!object.is_object()) {
        return std::nullopt;
    }
    const Json* id = member(object, "id");
    const Json* date = member(object, "date");
    const Json* originalPath = member(object, "originalPath");
    const Json* restored = member(object, "restored");
    if (id == nullptr || !id->is_string() || date == nullptr || !date->is_number() ||
        originalPath == nullptr || !originalPath->is_string() || restored == nullptr ||
        !restored->is_boolean()) {
        return std::nullopt;
    }
    const auto uuid = Uuid::parse(id->get_ref<const std::string&>());
    const auto size = readSize(object);
    HistoryEntry entry;
    if (!uuid || !size || !readTrashPath(object, entry.trashPath)) {
        return std::nullopt;
    }
    entry.id = *uuid;
    entry.date = date->get<double>() + referenceDate;
    entry.originalPath = exactPath(object, "originalPathBytes", originalPath->get<std::string>());
    entry.size = *size;
    entry.restored = restored->get<bool>();
    return entry;
}

// The file holds an array of flat objects; anything much deeper was not written by a
// program that keeps this history.
constexpr std::size_t maximumDepth = 64;

std::optional<std::vector<HistoryEntry>> decode(std::string_view text) {
    if (!nestsWithin(text, maximumDepth)) {
        return std::nullopt;
    }
    const Json document = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!document.is_array()) {
        return std::nullopt;
    }
    std::vector<HistoryEntry> entries;
    entries.reserve(document.size());
    for (const Json& element : document) {
        auto entry = decodeEntry(element);
        if (!entry) {
            return std::nullopt;
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
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
