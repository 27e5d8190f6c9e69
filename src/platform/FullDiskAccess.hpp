#pragma once

#include "platform/Locations.hpp"

namespace dorvale {

/// Whether this program may read the user's protected data. The probe tries two locations
/// that a privacy gate would keep closed, in this order: the system's privacy database
/// (`systemPath("/Library/Application Support/com.apple.TCC/TCC.db")`, opened for reading)
/// and the home folder's "Library/Safari" (listed). The first that can be read means yes;
/// a location that does not exist is passed over. When neither exists, this system has no
/// such gate and the answer is yes. A location that cannot even be looked at (its folder
/// is closed to this user) counts as existing, since it may well be there.
///
/// Keeps no state and may be called from any thread; it touches the disk only briefly.
class FullDiskAccess {
public:
    [[nodiscard]] static bool isGranted(const Locations& locations);

    /// Where a system has a privacy settings pane, opens it at the list of programs with
    /// full disk access. This one has none, so it opens nothing and hands no settings URL
    /// to the desktop. Called on the GUI thread.
    static void openPrivacySettings();
};

} // namespace dorvale
