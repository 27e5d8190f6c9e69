#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvale {

/// How a command run with administrator rights ended.
enum class AdministratorStatus {
    /// The command ran and exited with status 0.
    Succeeded,
    /// The user dismissed the authentication prompt.
    Cancelled,
    /// No authorisation could be had, or the command could not be started at all.
    Unavailable,
    /// The command ran and failed.
    Failed,
};

struct AdministratorResult {
    AdministratorStatus status = AdministratorStatus::Unavailable;
    /// The exit status as the runner saw it; -1 when nothing was started.
    int exitStatus = -1;
    /// Standard output and standard error together, as UTF-8 (ill-formed bytes replaced),
    /// so that a failure can show what the command said.
    std::string output{};
};

/// The sentence to show for how an administrator command ended: nothing on success,
/// "Cancelled." when the prompt was dismissed, what the command said (surrounding white
/// space trimmed), and otherwise `fallback`, the operation's own sentence. A runner that
/// could not start or could not ask for authorisation is a failure like any other.
/// `fallback` is a translation key of static storage.
[[nodiscard]] std::optional<std::string> administratorMessage(const AdministratorResult& result,
                                                              std::string_view fallback);

/// Runs one command with administrator rights after the system has asked the user. The
/// command is an argument vector whose first element is the absolute path of the program;
/// it is never put together into a shell command line. `run` blocks until the user has
/// answered the prompt and the command has finished: call it on a worker thread.
class AdministratorRunner {
public:
    virtual ~AdministratorRunner() = default;
    [[nodiscard]] virtual AdministratorResult
    run(const std::vector<std::string>& command) const = 0;

    /// The runner of this system: `PkexecRunner` with the system's pkexec.
    [[nodiscard]] static const AdministratorRunner& system();
};

/// Runs commands through polkit's pkexec, which asks for authentication itself. Its own
/// exit statuses tell the outcome: 126 means the user dismissed the prompt, 127 that
/// authorisation failed or could not be asked for; any other status is the command's.
class PkexecRunner final : public AdministratorRunner {
public:
    explicit PkexecRunner(std::string pkexecPath = "/usr/bin/pkexec");

    /// An empty command, or one whose program is not an absolute path, is `Unavailable`
    /// without starting anything.
    [[nodiscard]] AdministratorResult run(const std::vector<std::string>& command) const override;

private:
    std::string m_pkexecPath;
};

} // namespace dorvale
