#pragma once

#include "platform/Clock.hpp"

#include <optional>
#include <string>

namespace dorvale {

/// The search index's metadata of a file: when the user last opened an application.
/// Implementations may be called from any thread; a real index may block, so call it on a
/// worker.
class SpotlightMetadata {
public:
    virtual ~SpotlightMetadata() = default;
    /// When the item at `path` was last used, or nothing when the index does not know.
    [[nodiscard]] virtual std::optional<Timestamp> lastUsedDate(const std::string& path) const = 0;

    /// This system's metadata. Linux keeps no last-used dates, so it always answers
    /// nothing, and callers fall back to what the file system tells.
    [[nodiscard]] static const SpotlightMetadata& system();
};

} // namespace dorvale
