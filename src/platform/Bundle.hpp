#pragma once

#include "platform/PropertyList.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace dorvale {

/// This program's own bundle identifier, and the organisation part of it.
inline constexpr std::string_view ownBundleIdentifier = "app.dorvale.Dorvale";
inline constexpr std::string_view ownOrganisationPrefix = "app.dorvale";

/// An application bundle: a folder (normally named "*.app") whose Contents/Info.plist
/// describes it. Opening reads that file once; the bundle is a plain value afterwards and
/// may be used on any thread. `open` blocks on the disk.
class Bundle {
public:
    /// The bundle at `path`; nothing when `path` is not a folder. A folder without a
    /// readable Info.plist, or whose Info.plist is damaged or not a dictionary, still opens,
    /// with an empty information dictionary.
    [[nodiscard]] static std::optional<Bundle> open(const std::string& path);

    /// The bundle folder as it was given to `open`.
    [[nodiscard]] const std::string& path() const { return m_path; }
    /// The contents of Contents/Info.plist; an empty dictionary when there is none.
    [[nodiscard]] const PropertyList& infoDictionary() const { return m_info; }
    /// "CFBundleIdentifier" when it is a non-empty string.
    [[nodiscard]] std::optional<std::string> bundleIdentifier() const;
    /// Contents/MacOS/ followed by "CFBundleExecutable", when that is a plain file name
    /// (non-empty, no "/", not "." or ".."). Whether the file exists is not checked.
    [[nodiscard]] std::optional<std::string> executablePath() const;
    /// A string of the information dictionary, for keys such as "CFBundleName".
    [[nodiscard]] std::optional<std::string> infoString(std::string_view key) const;

private:
    Bundle(std::string path, PropertyList info);

    std::string m_path;
    PropertyList m_info;
};

} // namespace dorvale
