#pragma once

#include "model/FileKind.hpp"

#include <QString>

namespace dorvale {

/// The symbol that stands for a kind of file on chips and tiles.
[[nodiscard]] QString kindSymbol(FileKind kind);
/// The kind's title, as the screens show it.
[[nodiscard]] QString kindTitle(FileKind kind);

} // namespace dorvale
