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
#include "platform/desktop/SessionBus.hpp"
#include "shell/QtFileDialogs.hpp"

#include <string>

namespace dorvale {

/// The program's own services on this system, for the application state: the settings file
/// in the configuration folder, the desktop's workspace, the safety policy, the Trash and the
/// deletion engine, the session bus (connected on a thread of its own) with notifications on it,
/// the autostart entry, the package manager's updater and the desktop's file dialogs.
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
    /// The program's own connection to the session bus.
    [[nodiscard]] const SessionBus& sessionBus() const { return m_sessionBus; }

private:
    Locations m_locations;
    JsonSettings m_settings;
    SessionBus m_sessionBus;
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
