#pragma once

#include <string>

namespace dorvale {

/// Keeps the program up to date. Used on the GUI thread.
class Updater {
public:
    virtual ~Updater() = default;

    /// Begins whatever the updater does in the background; called once at start.
    virtual void start() = 0;
    /// Checks for a newer version at the user's request and returns the sentence to show.
    [[nodiscard]] virtual std::string checkForUpdates() = 0;
};

} // namespace dorvale
