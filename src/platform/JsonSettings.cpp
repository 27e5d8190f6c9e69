#include "platform/JsonSettings.hpp"

#include "platform/Paths.hpp"
#include "platform/Text.hpp"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <nlohmann/json.hpp>

namespace dorvale {

using nlohmann::json;

namespace {

constexpr std::string_view dateKey = "date";
constexpr std::string_view bytesKey = "bytes";
constexpr int damagedNameAttempts = 100;

// ---- Values and their JSON form ----

std::string toHex(std::string_view bytes) {
    constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0x0F];
    }
    return hex;
}

int hexDigit(char c) {
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

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t index = 0; index < hex.size(); index += 2) {
        const int high = hexDigit(hex[index]);
        const int low = hexDigit(hex[index + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

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

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    [[nodiscard]] int get() const { return m_fd; }
    // Closes now, reporting whether the close itself succeeded.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void makeFolders(const std::string& folder) {
    if (folder.empty() || folder == "/") {
        return;
    }
    makeFolders(std::string(parentPath(folder)));
    ::mkdir(folder.c_str(), 0700);
}

void syncFolder(const std::string& folder) {
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

// Replaces `path` with `contents` so that readers see the old file or the new one, never a
// part of either.
bool replaceFile(const std::string& path, std::string_view contents) {
    const std::string folder(parentPath(path));
    makeFolders(folder);
    std::string temporary = path + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    const bool written = writeAll(fd.get(), contents) && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

enum class FileState { Missing, Read, Unreadable };

FileState readFile(const std::string& path, std::string& contents) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count > 0) {
            contents.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0) {
            return FileState::Read;
        } else if (errno != EINTR) {
            return FileState::Unreadable;
        }
    }
}

// Moves a damaged file to the first free name of "<file>.damaged", "<file>.damaged-2", …,
// never replacing an earlier damaged copy.
bool moveAside(const std::string& path) {
    for (int attempt = 1; attempt <= damagedNameAttempts; ++attempt) {
        std::string target = path + ".damaged";
        if (attempt > 1) {
            target += "-" + std::to_string(attempt);
        }
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

} // namespace

struct JsonSettings::State {
    std::string path;
    json document = json::object();
    bool persistent = true;
    mutable std::mutex mutex;

    void load() {
        std::string contents;
        const FileState state = readFile(path, contents);
        if (state == FileState::Missing) {
            return;
        }
        if (state == FileState::Read) {
            json parsed = json::parse(contents, nullptr, false);
            if (!parsed.is_discarded() && parsed.is_object()) {
                document = std::move(parsed);
                return;
            }
        }
        persistent = moveAside(path);
    }

    void save() const {
        if (persistent) {
            replaceFile(path, document.dump(2, ' ', false, json::error_handler_t::replace));
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
