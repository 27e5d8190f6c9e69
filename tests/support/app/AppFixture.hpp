#pragma once

#include "app/AppServices.hpp"
#include "model/DeletionEngine.hpp"
#include "model/SafetyPolicy.hpp"
#include "platform/Locations.hpp"
#include "platform/NullUpdater.hpp"
#include "platform/Trash.hpp"
#include "platform/VolumeInfo.hpp"
#include "support/FakeFileDialogs.hpp"
#include "support/FakeLoginItemService.hpp"
#include "support/FakeNotifier.hpp"
#include "support/FakeProcessRunner.hpp"
#include "support/FakeSettings.hpp"
#include "support/FakeWorkspace.hpp"
#include "support/FixedClock.hpp"
#include "support/FixtureTree.hpp"
#include "support/app/LatchedScan.hpp"

#include <atomic>
#include <optional>

namespace dorvale::test {

/// Everything an `AppState` is made with, for tests: locations inside a fixture folder (home
/// at "Users/a", the fixture as data volume), fake settings, clock, workspace and runners,
/// the real safety policy, Trash and deletion engine on the fixture, the history file in the
/// fixture's data folder, recording fakes of the notifier, login item and file dialogs, the
/// package manager's updater, a fixed volume and a fixed access answer. Scans walk with the real
/// scanner unless a test puts `scans.seam()` into the services.
///
/// Make the state after the fixture, so that it goes first. The fixture's end lets every
/// held scan go and waits for the worker pool to run dry, so no job outlives what it uses.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    /// Services over the members below, reading `settings`.
    [[nodiscard]] AppServices services();
    /// The same services reading other settings, such as a settings file.
    [[nodiscard]] AppServices services(Settings& otherSettings);

    FixtureTree tree;
    Locations locations;
    FakeSettings settings;
    FixedClock clock{1'700'000'000};
    FakeWorkspace workspace;
    FakeProcessRunner processes;
    FakeAdministratorRunner administrator;
    SafetyPolicy safety;
    Trash trash;
    DeletionEngine deletionEngine;
    FakeNotifier notifier;
    FakeLoginItemService loginItems;
    NullUpdater updater;
    FakeFileDialogs fileDialogs;
    LatchedScan scans;
    /// What the volume reader answers for any path.
    std::optional<VolumeInfo> volume =
        VolumeInfo{"Fixture", 500'000'000'000, 120'000'000'000, 120'000'000'000};
    /// What the access probe answers; may be changed while the state lives.
    std::atomic<bool> fullDiskAccess = true;
};

} // namespace dorvale::test
