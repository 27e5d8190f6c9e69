#pragma once

#include "platform/Locations.hpp"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace dorvale {

/// What a scan covers: the whole disk, the user's home folder, or one chosen folder. A plain
/// value; a default-made target is the whole disk.
class ScanTarget {
public:
    enum class Kind : std::uint8_t {
        WholeDisk,
        Home,
        Folder,
    };

    ScanTarget() = default;

    [[nodiscard]] static ScanTarget wholeDisk() { return {}; }
    [[nodiscard]] static ScanTarget home() { return ScanTarget(Kind::Home, {}); }
    /// The folder at `path` (raw bytes, as the folder picker or a setting gives it). Trailing
    /// slashes are dropped, so "/a/b/" and "/a/b" are one target; "/" stays "/".
    [[nodiscard]] static ScanTarget folder(std::string_view path);

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// The chosen folder's path; empty for the whole disk and the home folder.
    [[nodiscard]] const std::string& folderPath() const { return m_path; }

    /// The folder a scan of this target walks: the data volume for the whole disk, the home
    /// folder, or the chosen folder.
    [[nodiscard]] std::string rootPath(const Locations& locations) const;
    /// "Entire disk", "Home folder" (in the current language) or the folder's last path
    /// component as the file system names it.
    [[nodiscard]] QString title() const;
    /// Whether scanning it needs full disk access: the whole disk and the home folder do, a
    /// chosen folder never.
    [[nodiscard]] bool needsFullDiskAccess() const { return m_kind != Kind::Folder; }

    friend bool operator==(const ScanTarget&, const ScanTarget&) = default;

private:
    ScanTarget(Kind kind, std::string path)
        : m_kind(kind)
        , m_path(std::move(path)) {}

    Kind m_kind = Kind::WholeDisk;
    std::string m_path;
};

} // namespace dorvale

template <>
struct std::hash<dorvale::ScanTarget> {
    std::size_t operator()(const dorvale::ScanTarget& target) const noexcept {
        const auto kind = static_cast<std::size_t>(target.kind());
        if (target.kind() != dorvale::ScanTarget::Kind::Folder) {
            return kind;
        }
        return kind * 31 + std::hash<std::string>{}(target.folderPath());
    }
};
