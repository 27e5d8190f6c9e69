#include "app/SettingsStore.hpp"

#include <utility>

namespace dorvale {

SettingsStore::SettingsStore(Settings& settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings) {}

std::optional<bool> SettingsStore::boolValue(std::string_view key) const {
    return m_settings.boolValue(key);
}

std::optional<std::int64_t> SettingsStore::integerValue(std::string_view key) const {
    return m_settings.integerValue(key);
}

std::optional<std::string> SettingsStore::textValue(std::string_view key) const {
    return m_settings.textValue(key);
}

std::optional<Timestamp> SettingsStore::dateValue(std::string_view key) const {
    return m_settings.dateValue(key);
}

void SettingsStore::setBool(std::string_view key, bool value) {
    m_settings.setBool(key, value);
    emit changed(std::string(key));
}

void SettingsStore::setInteger(std::string_view key, std::int64_t value) {
    m_settings.setInteger(key, value);
    emit changed(std::string(key));
}

void SettingsStore::setText(std::string_view key, std::string value) {
    m_settings.setText(key, std::move(value));
    emit changed(std::string(key));
}

void SettingsStore::setDate(std::string_view key, Timestamp value) {
    m_settings.setDate(key, value);
    emit changed(std::string(key));
}

void SettingsStore::remove(std::string_view key) {
    m_settings.remove(key);
    emit changed(std::string(key));
}

} // namespace dorvale
