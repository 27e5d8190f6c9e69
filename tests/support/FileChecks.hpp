#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

// What tests ask of the files they made, each a single look at the disk. None of them
// follows a symbolic link: they describe the item itself.
namespace dorvale::test {

/// Whether anything stands at `path`, a dangling link included.
[[nodiscard]] bool exists(const std::string& path);

[[nodiscard]] bool isLink(const std::string& path);

/// The type and permission bits, or 0 when nothing stands there.
[[nodiscard]] mode_t modeOf(const std::string& path);

/// The bytes the item occupies on disk, or -1 when nothing stands there.
[[nodiscard]] std::int64_t allocated(const std::string& path);

/// The contents of the file, or "<unreadable>".
[[nodiscard]] std::string contentsOf(const std::string& path);

} // namespace dorvale::test
