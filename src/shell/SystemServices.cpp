#include "shell/SystemServices.hpp"

#include "model/DeletionHistory.hpp"

#include <utility>

namespace dorvale {

SystemServices::SystemServices(Locations locations, std::string programPath)
    : m_locations(std::move(locations))
    , m_settings(JsonSettings::defaultPath(m_locations))
    , m_desktop(m_sessionBus)
    , m_workspace(m_locations, m_desktop)
    , m_safety(m_locations, m_workspace)
    , m_trash(m_locations)
    , m_deletionEngine(m_safety, m_trash)
    , m_notifier(m_sessionBus)
    , m_loginItem(m_locations, std::move(programPath)) {}

AppServices SystemServices::services() {
    return AppServices{
        .locations = m_locations,
        .settings = m_settings,
        .clock = Clock::system(),
        .workspace = m_workspace,
        .processes = ProcessRunner::system(),
        .administrator = AdministratorRunner::system(),
        .safety = m_safety,
        .deletionEngine = m_deletionEngine,
        .historyFile = DeletionHistory::defaultLocation(m_locations),
        .notifier = m_notifier,
        .loginItems = m_loginItem,
        .updater = m_updater,
        .fileDialogs = m_fileDialogs,
    };
}

} // namespace dorvale
