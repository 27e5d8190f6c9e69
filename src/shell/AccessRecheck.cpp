#include "shell/AccessRecheck.hpp"

#include "app/AppState.hpp"

namespace dorvale {

void recheckFullDiskAccess(AppState& state) {
    const AppServices& services = state.services();
    state.setHasFullDiskAccess(services.hasFullDiskAccess(services.locations));
}

} // namespace dorvale
