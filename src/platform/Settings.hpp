#pragma once

#include "platform/Clock.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dorvale {

/// A date kept in the settings, told apart from a plain number.
struct SettingDate {
    Timestamp time = 0;
    friend bool operator==(const SettingDate&, const SettingDate&) = default;
};

/// Every type a setting can hold. Texts are raw bytes and need not be valid UTF-8.
using SettingValue =
    std::variant<bool, std::int64_t, double, std::string, std::vector<std::string>, SettingDate>;

/// The user's settings: typed values under text keys. A typed read gives nothing when the
/// key is missing or holds a value of another type (an integer is not a double, nor a
/// double an integer), so every caller falls back to its own default. Implementations may
/// be used from any thread.
class Settings {
public:
    virtual ~Settings() = default;

    /// The stored value, of whatever type.
    [[nodiscard]] virtual std::optional<SettingValue> value(std::string_view key) const = 0;
    /// Stores `value` under `key`, replacing what was there.
    virtual void setValue(std::string_view key, SettingValue value) = 0;
    virtual void remove(std::string_view key) = 0;

    [[nodiscard]] std::optional<bool> boolValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::int64_t> integerValue(std::string_view key) const;
    [[nodiscard]] std::optional<double> doubleValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> textValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::vector<std::string>> textListValue(std::string_view key) const;
    [[nodiscard]] std::optional<Timestamp> dateValue(std::string_view key) const;

    void setBool(std::string_view key, bool value);
    void setInteger(std::string_view key, std::int64_t value);
    void setDouble(std::string_view key, double value);
    void setText(std::string_view key, std::string value);
    void setTextList(std::string_view key, std::vector<std::string> value);
    void setDate(std::string_view key, Timestamp value);
};

} // namespace dorvale
