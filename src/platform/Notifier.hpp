#pragma once

#include <string>

namespace dorvale {

/// Posts notifications to the desktop. Posting is fire-and-forget: it returns at once, never
/// waits for the desktop, and reports nothing when the desktop drops the notification (no
/// notification service, notifications turned off). Used on the GUI thread.
class Notifier {
public:
    virtual ~Notifier() = default;

    /// Shows a notification now, with this title and body (plain UTF-8 text).
    virtual void post(const std::string& title, const std::string& body) = 0;
    /// Asks the user to allow notifications where the desktop wants that asked first.
    virtual void requestPermission() = 0;
};

} // namespace dorvale
