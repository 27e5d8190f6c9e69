#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// The sections of the main window's sidebar, in sidebar order. The raw value (and identity)
/// of a section is its name in lower camel case, as stored in the "initialSection" setting.
enum class AppSection : std::uint8_t {
    SmartClean,
    Overview,
    Explorer,
    Types,
    Large,
    SystemData,
    Apps,
    Leftovers,
    LoginItems,
    Junk,
    Developer,
    Duplicates,
    History,
};

inline constexpr std::array allAppSections = {
    AppSection::SmartClean, AppSection::Overview,   AppSection::Explorer,  AppSection::Types,
    AppSection::Large,      AppSection::SystemData, AppSection::Apps,      AppSection::Leftovers,
    AppSection::LoginItems, AppSection::Junk,       AppSection::Developer, AppSection::Duplicates,
    AppSection::History,
};

/// "smartClean", "overview", … "history".
[[nodiscard]] std::string_view rawValue(AppSection section);
/// The section whose raw value is exactly `raw` (case-sensitive), or nothing.
[[nodiscard]] std::optional<AppSection> appSectionFromRaw(std::string_view raw);
/// The sidebar title in the current language ("Quick Clean" for the smart clean).
[[nodiscard]] QString title(AppSection section);
/// The name of the section's symbol ("wand.and.stars", …), mapped to an icon by the shell.
[[nodiscard]] std::string_view symbolName(AppSection section);

} // namespace dorvale
