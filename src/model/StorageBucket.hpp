#pragma once

#include "model/FileKind.hpp"
#include "model/Rgb.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dorvale {

/// Where an item's space is counted. The raw value is the position.
enum class StorageBucket : std::uint8_t {
    Applications,
    Documents,
    Images,
    Video,
    Audio,
    Archives,
    Developer,
    AppData,
    Junk,
    Trash,
    System,
    Other,
};

inline constexpr std::array allStorageBuckets = {
    StorageBucket::Applications, StorageBucket::Documents, StorageBucket::Images,
    StorageBucket::Video,        StorageBucket::Audio,     StorageBucket::Archives,
    StorageBucket::Developer,    StorageBucket::AppData,   StorageBucket::Junk,
    StorageBucket::Trash,        StorageBucket::System,    StorageBucket::Other,
};

/// The bucket with this raw value, or nothing for 12 and above.
[[nodiscard]] std::optional<StorageBucket> storageBucketFromRaw(unsigned raw);

[[nodiscard]] std::string_view title(StorageBucket bucket);
[[nodiscard]] std::string_view detail(StorageBucket bucket);
/// The symbol name of the bucket's icon.
[[nodiscard]] std::string_view symbol(StorageBucket bucket);
[[nodiscard]] Rgb color(StorageBucket bucket);

/// The bucket a file takes from its kind when its folder is in `Other`.
[[nodiscard]] StorageBucket defaultForKind(FileKind kind);

/// The first four components of a path and how many there are, taken without allocating.
struct PathComponents {
    std::array<std::string_view, 4> head{};
    std::size_t count = 0;

    /// Splits `path` on "/", dropping empty pieces. The views point into `path`.
    [[nodiscard]] static PathComponents of(std::string_view path);
};

/// The bucket of a folder from the components of its matching path, its own name and the
/// bucket inherited from its parent (`fallback`, absent when the parent is in `Other` or
/// there is no parent). Nothing means the folder falls into `Other`.
[[nodiscard]] std::optional<StorageBucket> classify(const PathComponents& components,
                                                    std::string_view name,
                                                    std::optional<StorageBucket> fallback);

} // namespace dorvale
