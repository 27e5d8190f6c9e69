#pragma once

#include "platform/Result.hpp"

namespace dorvale {

/// Whether the program starts when the user logs in. Every call reports a failure as a
/// `FileError` whose `reason()` says what went wrong. Calls touch only small files and may
/// be made on the GUI thread.
class LoginItemService {
public:
    virtual ~LoginItemService() = default;

    /// Makes the program start at login.
    [[nodiscard]] virtual Result<void> registerItem() = 0;
    /// Stops the program starting at login; when it was not registered, that is success.
    [[nodiscard]] virtual Result<void> unregisterItem() = 0;
    /// Whether the program starts at login now.
    [[nodiscard]] virtual Result<bool> isEnabled() const = 0;
};

} // namespace dorvale
