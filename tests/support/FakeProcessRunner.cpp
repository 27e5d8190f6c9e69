#include "support/FakeProcessRunner.hpp"

namespace dorvale::test {

namespace {

CommandLine commandLine(const std::string& executable, const std::vector<std::string>& arguments) {
    CommandLine line{executable};
    line.insert(line.end(), arguments.begin(), arguments.end());
    return line;
}

} // namespace

void FakeProcessRunner::respond(const std::string& executable,
                                const std::vector<std::string>& arguments, std::string output) {
    const std::lock_guard lock(m_mutex);
    m_outputs.insert_or_assign(commandLine(executable, arguments), std::move(output));
}

std::string FakeProcessRunner::run(const std::string& executable,
                                   const std::vector<std::string>& arguments) const {
    const std::lock_guard lock(m_mutex);
    CommandLine line = commandLine(executable, arguments);
    const auto found = m_outputs.find(line);
    m_calls.push_back(std::move(line));
    return found == m_outputs.end() ? std::string() : found->second;
}

std::vector<CommandLine> FakeProcessRunner::calls() const {
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

void FakeAdministratorRunner::setResult(AdministratorResult result) {
    const std::lock_guard lock(m_mutex);
    m_result = std::move(result);
}

AdministratorResult FakeAdministratorRunner::run(const std::vector<std::string>& command) const {
    const std::lock_guard lock(m_mutex);
    m_calls.push_back(command);
    return m_result;
}

std::vector<CommandLine> FakeAdministratorRunner::calls() const {
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

} // namespace dorvale::test
