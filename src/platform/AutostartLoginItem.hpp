#pragma once

#include "platform/Locations.hpp"
#include "platform/LoginItemService.hpp"

#include <string>
#include <string_view>

namespace dorvale {

/// Launch at login through the desktop's autostart folder: registering writes the entry
/// `autostartFolder()` + "/app.dorvale.Dorvale.desktop", which starts `programPath` at
/// login; unregistering removes it. The entry is written atomically, so the desktop never
/// reads half of one. The program path is quoted and escaped so that spaces, quotes, "$"
/// or "%" in it still start the program; a path that no entry can hold (not absolute, with
/// a control character such as a line feed, or not valid UTF-8) is refused.
///
/// The entry counts as enabled when the file exists and its "[Desktop Entry]" group says
/// neither `Hidden=true` nor `X-GNOME-Autostart-enabled=false`, which is how desktops let
/// the user switch an entry off without removing it.
class AutostartLoginItem final : public LoginItemService {
public:
    /// `programPath` is the program's own executable (raw bytes).
    AutostartLoginItem(const Locations& locations, std::string programPath);

    [[nodiscard]] Result<void> registerItem() override;
    [[nodiscard]] Result<void> unregisterItem() override;
    [[nodiscard]] Result<bool> isEnabled() const override;

    /// The path of the entry.
    [[nodiscard]] const std::string& entryPath() const { return m_entryPath; }

    /// The value of an `Exec` key that runs `programPath` with no arguments: the path in
    /// double quotes with "\" before each '"', "`", "$" and "\", each "%" doubled, then
    /// every "\" doubled again as a desktop-entry string needs. Only for a path the entry
    /// can hold.
    [[nodiscard]] static std::string execValue(std::string_view programPath);

private:
    std::string m_folder;
    std::string m_entryPath;
    std::string m_programPath;
};

} // namespace dorvale
