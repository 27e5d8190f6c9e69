#pragma once

#include <QString>

#include <cstdint>

namespace dorvale {

/// A count as the screens show it: in the user's locale, with its digit grouping
/// ("1,441,792 files").
[[nodiscard]] QString countText(std::int64_t count);

} // namespace dorvale
