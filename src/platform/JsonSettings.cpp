#include "platform/JsonSettings.hpp"

#include "platform/FileLock.hpp"
#include "platform/FileOperations.hpp"
#include "platform/JsonBounds.hpp"
#include "platform/Log.hpp"
#include "platform/Paths.hpp"
#include "platform/Text.hpp"

#include <cerrno>
#include <mutex>
#include <nlohmann/json.hpp>

namespace dorvale {

using nlohmann::json;

namespace {

constexpr std::string_view dateKey = "date";
constexpr std::string_view bytesKey = "bytes";

// ---- Values and their JSON form ----

json textToJson(const std::string& text) {
    if (toValidUtf8(text) == text) {
        return text;
    }
    return json::object({{bytesKey, toHex(text)}});
}

std::optional<std::string> textFromJson(const json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_object() && value.size() == 1 && value.contains(bytesKey) &&
        value[bytesKey].is_string()) {
        return fromHex(value[bytesKey].get<std::string>());
    }
    return std::nullopt;
}

struct ToJson {
    json operator()(bool value) const { return value; }
    json operator()(std::int64_t value) const { return value; }
    json operator()(double value) const { return value; }
    json operator()(const std::string& value) const { return textToJson(value); }
    json operator()(const std::vector<std::string>& values) const {
        json array = json::array();
        for (const std::string& value : values) {
            array.push_back(textToJson(value));
        }
        return array;
    }
    json operator()(const SettingDate& date) const { return json::object({{dateKey, date.time}}); }
};

std::optional<SettingValue> listFromJson(const json& value) {
    std::vector<std::string> texts;
    texts.reserve(value.size());
    for (const json& element : value) {
        std::optional<std::string> text = textFromJson(element);
        if (!text) {
            return std::nullopt;
        }
        texts.push_back(std::move(*text));
    }
    return SettingValue(std::move(texts));
}

std::optional<SettingValue> objectFromJson(const json& value) {
    if (value.size() == 1 && value.contains(dateKey) && value[dateKey].is_number()) {
        return SettingValue(SettingDate{value[dateKey].get<double>()});
    }
    std::optional<std::string> text = textFromJson(value);
    return text ? std::optional<SettingValue>(std::move(*text)) : std::nullopt;
}

std::optional<SettingValue> fromJson(const json& value) {
    switch (value.type()) {
    case json::value_t::boolean:
        return SettingValue(value.get<bool>());
    case json::value_t::number_integer:
        return SettingValue(value.get<std::int64_t>());
    case json::value_t::number_unsigned:
        if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
            return std::nullopt;
        }
        return SettingValue(value.get<std::int64_t>());
    case json::value_t::number_float:
        return SettingValue(value.get<double>());
    case json::value_t::string:
        return SettingValue(value.get<std::string>());
    case json::value_t::array:
        return listFromJson(value);
    case json::value_t::object:
        return objectFromJson(value);
    default:
        return std::nullopt;
    }
}

// ---- The file ----

// Settings are a few hundred bytes; anything near these bounds was not written by this
// program, and writing it back pretty-printed at every change would freeze the window.
constexpr std::size_t maximumBytes = 1024 * 1024;
constexpr std::size_t maximumDepth = 64;

enum class Found { Missing, Damaged, Read };

// The document on disk, as long as it is an object within the bounds.
Found readDocument(const std::string& path, json& document) {
    Result<std::string> contents = readFile(path, maximumBytes);
    if (!contents.ok()) {
        return contents.error().code == ENOENT ? Found::Missing : Found::Damaged;
    }
    if (!nestsWithin(contents.value(), maximumDepth)) {
        return Found::Damaged;
    }
    json parsed = json::parse(contents.value(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        return Found::Damaged;
    }
    document = std::move(parsed);
    return Found::Read;
}

} // namespace

struct JsonSettings::State {
    std::string path;
    json document = json::object();
    bool persistent = true;
    mutable std::mutex mutex;

    void load() {
        if (readDocument(path, document) == Found::Damaged) {
            keepDamagedFile();
        }
    }

    // A file that cannot be read or decoded is kept for the user, never overwritten; when
    // it cannot even be moved, nothing is written any more.
    void keepDamagedFile() { persistent = setAside(path, ".damaged").ok(); }

    // Another process may have changed other settings since this one read the file, so the
    // change is made to what is on disk now, under the folder's lock, and nothing else of
    // this store's view is written back.
    void write(std::string_view key, const json* value) {
        const std::string folder(parentPath(path));
        if (!persistent || !createFolderChain(folder).ok()) {
            return;
        }
        const FileLock lock = FileLock::onFolder(folder);
        json onDisk = json::object();
        if (readDocument(path, onDisk) == Found::Damaged) {
            keepDamagedFile();
            if (!persistent) {
                return;
            }
        }
        if (value != nullptr) {
            onDisk[std::string(key)] = *value;
        } else if (onDisk.erase(std::string(key)) == 0) {
            return;
        }
        const std::string text = onDisk.dump(2, ' ', false, json::error_handler_t::replace);
        if (text.size() > maximumBytes) {
            logWarning("Settings not saved: they would outgrow their file's limit of 1 MiB.");
            return;
        }
        (void)writeFileAtomically(path, text);
    }
};

JsonSettings::JsonSettings(std::string filePath)
    : m_state(std::make_unique<State>()) {
    m_state->path = std::move(filePath);
    m_state->load();
}

JsonSettings::~JsonSettings() = default;

std::string JsonSettings::defaultPath(const Locations& locations) {
    return joinPath(locations.settingsFolder(), "settings.json");
}

std::optional<SettingValue> JsonSettings::value(std::string_view key) const {
    const std::lock_guard lock(m_state->mutex);
    const auto found = m_state->document.find(key);
    if (found == m_state->document.end()) {
        return std::nullopt;
    }
    return fromJson(*found);
}

void JsonSettings::setValue(std::string_view key, SettingValue value) {
    const std::lock_guard lock(m_state->mutex);
    json& stored = m_state->document[std::string(key)];
    stored = std::visit(ToJson{}, value);
    m_state->write(key, &stored);
}

void JsonSettings::remove(std::string_view key) {
    const std::lock_guard lock(m_state->mutex);
    m_state->document.erase(std::string(key));
    m_state->write(key, nullptr);
}

bool JsonSettings::isPersistent() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->persistent;
}

} // namespace dorvale
