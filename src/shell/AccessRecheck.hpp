#pragma once

namespace dorvale {

class AppState;

/// Asks the access probe again and publishes its answer as `AppState::hasFullDiskAccess`.
/// The probe only looks at two folders, so it is quick enough for the GUI thread.
void recheckFullDiskAccess(AppState& state);

} // namespace dorvale
