#pragma once

#include "platform/Settings.hpp"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// The user's settings as the Qt layers use them: the typed reads of `Settings`, and setters
/// that write and then announce the key with `changed`, so the owner of a key can tell its
/// views. Reads go to the store every time, so a value written elsewhere shows at once.
///
/// Lives on the GUI thread. The settings behind it must outlive it; they may be written from
/// other threads too, but only writes made through this object are announced.
class SettingsStore final : public QObject {
    Q_OBJECT

public:
    explicit SettingsStore(Settings& settings, QObject* parent = nullptr);

    [[nodiscard]] std::optional<bool> boolValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::int64_t> integerValue(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> textValue(std::string_view key) const;
    [[nodiscard]] std::optional<Timestamp> dateValue(std::string_view key) const;

    void setBool(std::string_view key, bool value);
    void setInteger(std::string_view key, std::int64_t value);
    void setText(std::string_view key, std::string value);
    void setDate(std::string_view key, Timestamp value);
    void remove(std::string_view key);

signals:
    /// The value under `key` was just written or removed; reading it gives the new value.
    void changed(const std::string& key);

private:
    Settings& m_settings;
};

} // namespace dorvale
