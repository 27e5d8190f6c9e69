#pragma once

#include "model/Rgb.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace dorvale {

/// What a file is, judged by the extension of its name. The raw value is the position.
enum class FileKind : std::uint8_t {
    Document,
    Image,
    Video,
    Audio,
    Archive,
    DiskImage,
    Code,
    Application,
    Other,
};

inline constexpr std::array allFileKinds = {
    FileKind::Document,  FileKind::Image, FileKind::Video,       FileKind::Audio, FileKind::Archive,
    FileKind::DiskImage, FileKind::Code,  FileKind::Application, FileKind::Other,
};

/// The kind with this raw value, or nothing for 9 and above.
[[nodiscard]] std::optional<FileKind> fileKindFromRaw(unsigned raw);

[[nodiscard]] std::string_view title(FileKind kind);
[[nodiscard]] Rgb color(FileKind kind);

/// The kind of a file from its name as the file system gave it (raw bytes); `Other` when the
/// name has no extension the table knows. Allocates nothing for an ASCII extension.
[[nodiscard]] FileKind fileKindForName(std::string_view name);

/// Lower-case extension (without the dot) to kind. Built once on first use; read-only after.
[[nodiscard]] const std::unordered_map<std::string_view, FileKind>& extensionTable();

} // namespace dorvale
