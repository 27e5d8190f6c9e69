#include "platform/AdministratorRunner.hpp"

#include "platform/Process.hpp"
#include "platform/Text.hpp"

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
