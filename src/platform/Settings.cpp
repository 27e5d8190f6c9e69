#include "platform/Settings.hpp"

namespace dorvale {

namespace {

template <typename T>
std::optional<T> typed(const std::optional<SettingValue>& value) {
    if (value && std::holds_alternative<T>(*value)) {
        return std::get<T>(*value);
    }
    return std::nullopt;
}

} // namespace

std::optional<bool> Settings::boolValue(std::string_view key) const {
    return typed<bool>(value(key));
}

std::optional<std::int64_t> Settings::integerValue(std::string_view key) const {
    return typed<std::int64_t>(value(key));
}

std::optional<double> Settings::doubleValue(std::string_view key) const {
    return typed<double>(value(key));
}

std::optional<std::string> Settings::textValue(std::string_view key) const {
    return typed<std::string>(value(key));
}

std::optional<std::vector<std::string>> Settings::textListValue(std::string_view key) const {
    return typed<std::vector<std::string>>(value(key));
}

std::optional<Timestamp> Settings::dateValue(std::string_view key) const {
    const std::optional<SettingDate> date = typed<SettingDate>(value(key));
    return date ? std::optional(date->time) : std::nullopt;
}

void Settings::setBool(std::string_view key, bool value) {
    setValue(key, SettingValue(std::in_place_type<bool>, value));
}

void Settings::setInteger(std::string_view key, std::int64_t value) {
    setValue(key, SettingValue(std::in_place_type<std::int64_t>, value));
}

void Settings::setDouble(std::string_view key, double value) {
    setValue(key, SettingValue(std::in_place_type<double>, value));
}

void Settings::setText(std::string_view key, std::string value) {
    setValue(key, SettingValue(std::in_place_type<std::string>, std::move(value)));
}

void Settings::setTextList(std::string_view key, std::vector<std::string> value) {
    setValue(key, SettingValue(std::in_place_type<std::vector<std::string>>, std::move(value)));
}

void Settings::setDate(std::string_view key, Timestamp value) {
    setValue(key, SettingValue(std::in_place_type<SettingDate>, SettingDate{value}));
}

} // namespace dorvale
