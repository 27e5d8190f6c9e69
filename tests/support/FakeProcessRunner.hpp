#pragma once

#include "platform/AdministratorRunner.hpp"
#include "platform/Process.hpp"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace dorvale::test {

/// One command as a runner received it: the program, then its arguments.
using CommandLine = std::vector<std::string>;

/// Answers tool runs with prepared output and records every run. A command without a
/// prepared answer prints nothing, as a tool that cannot be started. Safe from any thread.
class FakeProcessRunner final : public ProcessRunner {
public:
    /// What `run(executable, arguments)` returns from now on.
    void respond(const std::string& executable, const std::vector<std::string>& arguments,
                 std::string output);

    [[nodiscard]] std::string run(const std::string& executable,
                                  const std::vector<std::string>& arguments) const override;

    /// Every run so far, in order, each as executable followed by its arguments.
    [[nodiscard]] std::vector<CommandLine> calls() const;

private:
    mutable std::mutex m_mutex;
    std::map<CommandLine, std::string> m_outputs;
    mutable std::vector<CommandLine> m_calls;
};

/// Answers administrator commands with one prepared result (success by default) and
/// records them. Safe from any thread.
class FakeAdministratorRunner final : public AdministratorRunner {
public:
    void setResult(AdministratorResult result);

    [[nodiscard]] AdministratorResult run(const std::vector<std::string>& command) const override;

    [[nodiscard]] std::vector<CommandLine> calls() const;

private:
    mutable std::mutex m_mutex;
    AdministratorResult m_result{AdministratorStatus::Succeeded, 0, {}};
    mutable std::vector<CommandLine> m_calls;
};

} // namespace dorvale::test
