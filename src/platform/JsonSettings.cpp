#include "platform/JsonSettings.hpp"

#include "platform/FileOperations.hpp"
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

} // namespace

struct JsonSettings::State {
    std::string path;
    json document = json::object();
    bool persistent = true;
    mutable std::mutex mutex;

    void load() {
        Result<std::string> contents = readFile(path);
        if (!contents.ok() && contents.error().code == ENOENT) {
            return;
        }
        if (contents.ok()) {
            json parsed = json::parse(contents.value(), nullptr, false);
            if (!parsed.is_discarded() && parsed.is_object()) {
                document = std::move(parsed);
                return;
            }
        }
        // A file that cannot be read or decoded is kept for the user, never overwritten.
        persistent = setAside(path, ".damaged").ok();
    }

    void save() const {
        if (persistent && createFolderChain(parentPath(path)).ok()) {
            (void)writeFileAtomically(path,
                                      document.dump(2, ' ', false, json::error_handler_t::replace));
        }
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
    m_state->document[std::string(key)] = std::visit(ToJson{}, value);
    m_state->save();
}

void JsonSettings::remove(std::string_view key) {
    const std::lock_guard lock(m_state->mutex);
    if (m_state->document.erase(std::string(key)) > 0) {
        m_state->save();
    }
}

bool JsonSettings::isPersistent() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->persistent;
}

} // namespace dorvale
