#pragma once

#include "platform/Locations.hpp"
#include "platform/Settings.hpp"

#include <memory>
#include <string>

namespace dorvale {

/// The settings kept in a JSON file, normally `Locations::settingsFolder()` +
/// "/settings.json". The file holds one object: booleans, integers, doubles, strings and
/// arrays of strings as themselves, a date as {"date": seconds since 1970}, and a text that
/// is not valid UTF-8 as {"bytes": "<hex>"} so that no byte of it is lost. A value of any
/// other shape reads as missing but is kept in the file.
///
/// The file is read when the store is made; reads come from memory. Every set and remove
/// changes its own key in the file as it is on disk at that moment, under an advisory lock on
/// the file's folder, so that another process using the same file loses none of its changes;
/// the rewrite is atomic (a temporary file in the same folder, fsync, rename), so a crash
/// leaves either the old file or the new one. A file that cannot be read or parsed, whose top
/// level is not an object, that is larger than 1 MiB or that nests deeper than 64 levels is
/// moved aside to "settings.json.damaged" (or "settings.json.damaged.2" and so on when that
/// name is taken), never overwritten, and the store starts empty; if even the move fails, the
/// store keeps its values in memory only, so the unreadable file is left as it was. A failed
/// write is not reported: the value still holds for the rest of the run.
///
/// Every call takes one lock, so the store may be used from any thread. A set or remove
/// reads and writes a file of a few kilobytes before it returns.
class JsonSettings final : public Settings {
public:
    explicit JsonSettings(std::string filePath);
    ~JsonSettings() override;
    JsonSettings(const JsonSettings&) = delete;
    JsonSettings& operator=(const JsonSettings&) = delete;

    /// The file of the real settings.
    [[nodiscard]] static std::string defaultPath(const Locations& locations);

    [[nodiscard]] std::optional<SettingValue> value(std::string_view key) const override;
    void setValue(std::string_view key, SettingValue value) override;
    void remove(std::string_view key) override;

    /// Whether changes reach the file (false only when a damaged file could not be moved
    /// aside).
    [[nodiscard]] bool isPersistent() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace dorvale
