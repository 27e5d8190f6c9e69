#pragma once

#include "platform/Updater.hpp"

namespace dorvale {

/// The updater of a program installed by the system's package manager, which also brings
/// its updates: it checks, downloads and installs nothing, and only says so.
class NullUpdater final : public Updater {
public:
    void start() override;
    [[nodiscard]] std::string checkForUpdates() override;
};

} // namespace dorvale
