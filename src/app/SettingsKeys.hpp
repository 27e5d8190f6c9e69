#pragma once

#include <string_view>

/// The keys of the user's settings, each with its owner. Settings are read at each use, never
/// cached, so a change made elsewhere shows at once; a missing value or one of another type
/// reads as the owner's default.
namespace dorvale::SettingsKeys {

// Owned by the application state.
/// Text: excluded folders, one absolute path per line; default "".
inline constexpr std::string_view excludedPaths = "excludedPaths";
/// Boolean: delete outright instead of moving to the Trash; default false.
inline constexpr std::string_view permanentDelete = "permanentDelete";
/// Boolean: the user chose to scan without full disk access; default false.
inline constexpr std::string_view accessOnboardingSkipped = "accessOnboardingSkipped";
/// Text, read once at start-up and never written: the raw value of the section to show.
inline constexpr std::string_view initialSection = "initialSection";
/// Text, read once at start-up and never written: "home", "disk" or a folder's absolute path.
inline constexpr std::string_view autoScan = "autoScan";

// Owned by the background services.
/// Text: the raw value of the automatic clean's schedule; default (and unknown text) "off".
inline constexpr std::string_view cleanSchedule = "cleanSchedule";
/// Integer: free-space warning threshold in whole gigabytes of 10^9 bytes, 0 for none;
/// default 10.
inline constexpr std::string_view lowSpaceGB = "lowSpaceGB";
/// Boolean: the low-space warning was given and is not re-armed yet; default false.
inline constexpr std::string_view lowSpaceNotified = "lowSpaceNotified";
/// Boolean: show the tray icon; default true.
inline constexpr std::string_view menuBar = "menuBar";
/// Date: end of the last automatic clean; default none.
inline constexpr std::string_view lastAutoClean = "lastAutoClean";
/// Integer: bytes freed by the last automatic clean; default 0.
inline constexpr std::string_view lastAutoCleanBytes = "lastAutoCleanBytes";

// Owned by the explorer page.
/// Text: the raw value of the explorer's view mode; default (and unknown text) "list".
inline constexpr std::string_view explorerMode = "explorerMode";

} // namespace dorvale::SettingsKeys
