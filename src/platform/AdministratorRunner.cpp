#include "platform/AdministratorRunner.hpp"

#include "platform/Process.hpp"
#include "platform/Text.hpp"
#include "platform/Tr.hpp"

namespace dorvale {

namespace {

constexpr int dismissedStatus = 126;
constexpr int notAuthorisedStatus = 127;

AdministratorStatus statusFor(int exitStatus) {
    switch (exitStatus) {
    case 0:
        return AdministratorStatus::Succeeded;
    case dismissedStatus:
        return AdministratorStatus::Cancelled;
    case notAuthorisedStatus:
        return AdministratorStatus::Unavailable;
    default:
        return AdministratorStatus::Failed;
    }
}

} // namespace

std::optional<std::string> administratorMessage(const AdministratorResult& result,
                                                std::string_view fallback) {
    switch (result.status) {
    case AdministratorStatus::Succeeded:
        return std::nullopt;
    case AdministratorStatus::Cancelled:
        return std::string(tr("Cancelled."));
    case AdministratorStatus::Unavailable:
    case AdministratorStatus::Failed:
        break;
    }
    constexpr std::string_view whitespace = " \t\r\n";
    const std::string_view said = result.output;
    const std::size_t first = said.find_first_not_of(whitespace);
    if (first == std::string_view::npos) {
        return std::string(tr(fallback));
    }
    return std::string(said.substr(first, said.find_last_not_of(whitespace) - first + 1));
}

PkexecRunner::PkexecRunner(std::string pkexecPath)
    : m_pkexecPath(std::move(pkexecPath)) {}

AdministratorResult PkexecRunner::run(const std::vector<std::string>& command) const {
    AdministratorResult result;
    if (command.empty() || command.front().empty() || command.front().front() != '/') {
        return result;
    }
    // pkexec takes the program and its arguments as its own arguments, one each, so no
    // part of the command is ever read by a shell.
    const ProcessOutcome outcome = spawnProcess(m_pkexecPath, command, ErrorStream::Capture);
    if (!outcome.started) {
        return result;
    }
    result.status = statusFor(outcome.exitStatus);
    result.exitStatus = outcome.exitStatus;
    result.output = toValidUtf8(outcome.output);
    return result;
}

const AdministratorRunner& AdministratorRunner::system() {
    static const PkexecRunner runner;
    return runner;
}

} // namespace dorvale
