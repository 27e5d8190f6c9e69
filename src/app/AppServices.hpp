#pragma once

#include "inventory/AppInventory.hpp"
#include "inventory/InstalledApp.hpp"
#include "inventory/Leftover.hpp"
#include "inventory/LeftoversFinder.hpp"
#include "model/DeletionEngine.hpp"
#include "model/DuplicateCandidate.hpp"
#include "model/DuplicateFinder.hpp"
#include "model/DuplicateGroup.hpp"
#include "model/JunkFinding.hpp"
#include "model/JunkRule.hpp"
#include "model/JunkScan.hpp"
#include "model/SafetyPolicy.hpp"
#include "model/ScanResult.hpp"
#include "model/Scanner.hpp"
#include "platform/AdministratorRunner.hpp"
#include "platform/Clock.hpp"
#include "platform/FileDialogs.hpp"
#include "platform/FullDiskAccess.hpp"
#include "platform/Locations.hpp"
#include "platform/LoginItemService.hpp"
#include "platform/Notifier.hpp"
#include "platform/Process.hpp"
#include "platform/Settings.hpp"
#include "platform/SpotlightMetadata.hpp"
#include "platform/Updater.hpp"
#include "platform/VolumeInfo.hpp"
#include "platform/Workspace.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvale {

/// The waits of the application, shortened by tests.
struct Delays {
    /// The least time the smart clean's scanning stage stays on screen.
    std::chrono::milliseconds smartScanFloor{1600};
    /// The least time the smart clean's cleaning stage stays on screen.
    std::chrono::milliseconds smartCleanFloor{1200};
    /// How long a toast stays unless replaced.
    std::chrono::milliseconds toastLifetime{8000};
    /// The period of the background services' free-space and schedule checks.
    std::chrono::milliseconds backgroundInterval{300'000};
};

/// Reads the capacities of the volume holding a path; nothing when they cannot be read.
using VolumeReader = std::function<std::optional<VolumeInfo>(const std::string& path)>;
/// Walks a folder with the given scanner; `Scanner::scan` in the program. Runs on a worker.
using ScanFunction = std::function<std::optional<ScanResult>(
    Scanner& scanner, const std::string& rootPath, const Scanner::Exclusions& exclusions,
    const Scanner::Progress& progress)>;
/// `JunkScan::scanRules` in the program. Runs on a worker.
using JunkScanFunction = std::function<std::vector<JunkFinding>(
    std::span<const JunkRule> rules, const Locations& locations, const Clock& clock,
    const JunkScan::AccessProbe& hasFullDiskAccess)>;
/// `AppInventory::collectApps` with the system's metadata in the program. Runs on a worker.
using CollectAppsFunction = std::function<std::vector<InstalledApp>(
    const Locations& locations, const AppInventory::AccessProbe& hasFullDiskAccess)>;
/// `AppInventory::findLeftovers` in the program. Runs on a worker.
using FindLeftoversFunction = std::function<std::vector<Leftover>(
    std::span<const InstalledApp> apps, const Locations& locations, const Workspace& workspace,
    const AppInventory::AccessProbe& hasFullDiskAccess)>;
/// `DuplicateFinder::find` in the program. Runs on a worker, and reports progress from the
/// threads it reads on.
using FindDuplicatesFunction = std::function<std::vector<DuplicateGroup>(
    std::span<const DuplicateCandidate> candidates, std::int64_t minimumSize,
    const DuplicateFinder::Progress& progress)>;

/// Everything the application state works with, handed in once when it is made: the real
/// services in the program, fakes and fixtures in tests. The referenced objects and whatever
/// the functions capture must outlive the state and the worker pool; the functions marked as
/// running on a worker are called there and must be safe to call from any thread.
///
/// The functions default to the program's own engines; a test replaces those it controls
/// (a scan held on a latch, an access probe with a fixed answer).
struct AppServices {
    /// Every root folder the program reads; the data volume doubles as the whole-disk root.
    Locations locations;
    Settings& settings;
    const Clock& clock;
    Workspace& workspace;
    const ProcessRunner& processes;
    const AdministratorRunner& administrator;
    const SafetyPolicy& safety;
    const DeletionEngine& deletionEngine;
    /// The deletion history's file.
    std::string historyFile;
    Notifier& notifier;
    LoginItemService& loginItems;
    Updater& updater;
    /// Used only by the windows, which alone may show a modal dialog.
    FileDialogs& fileDialogs;
    Delays delays{};

    VolumeReader readVolume = [](const std::string& path) {
        return VolumeInfo::read(path);
    };
    /// Whether the program may read the user's protected data. Asked on the GUI thread when a
    /// scan starts, and on workers by the junk scan and the inventories.
    JunkScan::AccessProbe hasFullDiskAccess = &FullDiskAccess::isGranted;
    /// Opens the system's privacy settings; called on the GUI thread.
    std::function<void()> openPrivacySettings = &FullDiskAccess::openPrivacySettings;
    ScanFunction scan = [](Scanner& scanner, const std::string& rootPath,
                           const Scanner::Exclusions& exclusions,
                           const Scanner::Progress& progress) {
        return scanner.scan(rootPath, exclusions, progress);
    };
    JunkScanFunction scanJunk = [](std::span<const JunkRule> rules, const Locations& locations,
                                   const Clock& clock, const JunkScan::AccessProbe& probe) {
        return JunkScan::scanRules(rules, locations, clock, probe);
    };
    CollectAppsFunction collectApps = [](const Locations& locations,
                                         const AppInventory::AccessProbe& probe) {
        return AppInventory::collectApps(locations, SpotlightMetadata::system(), probe);
    };
    FindLeftoversFunction findLeftovers = &AppInventory::findLeftovers;
    FindDuplicatesFunction findDuplicates = [](std::span<const DuplicateCandidate> candidates,
                                               std::int64_t minimumSize,
                                               const DuplicateFinder::Progress& progress) {
        return DuplicateFinder::find(candidates, minimumSize, progress);
    };
};

} // namespace dorvale
