#pragma once

#include <QString>

#include <cstdint>

namespace dorvale {

/// A byte count as the screens show it, through the program's one byte formatter (a negative
/// count reads as zero).
[[nodiscard]] QString byteText(std::int64_t byteCount);

} // namespace dorvale
