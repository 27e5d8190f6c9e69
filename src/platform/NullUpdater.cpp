#include "platform/NullUpdater.hpp"

#include "platform/Tr.hpp"

namespace dorvale {

void NullUpdater::start() {}

std::string NullUpdater::checkForUpdates() {
    return std::string(tr("Dorvale is updated through your system’s package manager."));
}

} // namespace dorvale
