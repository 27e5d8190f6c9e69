#pragma once

#include "app/AppServices.hpp"
#include "model/DeletionEngine.hpp"
#include "model/SafetyPolicy.hpp"
#include "platform/AutostartLoginItem.hpp"
#include "platform/JsonSettings.hpp"
#include "platform/Locations.hpp"
#include "platform/NullUpdater.hpp"
#include "platform/Trash.hpp"
#include "platform/Workspace.hpp"
#include "platform/desktop/DbusNotifier.hpp"
#include "platform/desktop/QtDesktopServices.hpp"
#include "shell/QtFileDialogs.hpp"

#include <string>

namespace dorvale {

/// The program's own services on this system, for the application state: the settings file
/// in the configuration folder, the desktop's workspace, the safety policy, the Trash and the
/// deletion engine, notifications on the session bus, the autostart entry, the package
/// manager's updater and the desktop's file dialogs.
///
/// Made once on the GUI thread after the application object; it must outlive the state and
/// the worker pool, whose jobs use these services.
class SystemServices {
public:
    /// `programPath` is the program's own executable, which the autostart entry starts.
    SystemServices(Locations locations, std::string programPath);
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    [[nodiscard]] AppServices services();

private:
    Locations m_locations;
    JsonSettings m_settings;
    QtDesktopServices m_desktop;
    SystemWorkspace m_workspace;
    SafetyPolicy m_safety;
    Trash m_trash;
    DeletionEngine m_deletionEngine;
    DbusNotifier m_notifier;
    AutostartLoginItem m_loginItem;
    NullUpdater m_updater;
    QtFileDialogs m_fileDialogs;
};

} // namespace dorvale
