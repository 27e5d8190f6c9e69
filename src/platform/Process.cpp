#include "platform/Process.hpp"

#include "platform/Descriptor.hpp"
#include "platform/Text.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace dorvale {

namespace {

// More output than this is not kept from any tool the program runs.
constexpr std::size_t maximumOutput = 64 * 1024 * 1024;

// The file actions and attributes of one spawn, released whatever happens.
class SpawnSetup {
public:
    SpawnSetup() {
        m_ready = posix_spawn_file_actions_init(&m_actions) == 0;
        m_ready = posix_spawnattr_init(&m_attributes) == 0 && m_ready;
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // Connects the child's streams: stdin from /dev/null, stdout into `outputFd`, stderr
    // into the same pipe or /dev/null. The pipe's own descriptors are close-on-exec, so
    // the child keeps only the copies made here.
    bool connect(int outputFd, ErrorStream errors) {
        bool ok = m_ready;
        ok = ok && posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY,
                                                    0) == 0;
        ok = ok && posix_spawn_file_actions_adddup2(&m_actions, outputFd, STDOUT_FILENO) == 0;
        if (errors == ErrorStream::Capture) {
            ok = ok && posix_spawn_file_actions_adddup2(&m_actions, outputFd, STDERR_FILENO) == 0;
        } else {
            ok = ok && posix_spawn_file_actions_addopen(&m_actions, STDERR_FILENO, "/dev/null",
                                                        O_WRONLY, 0) == 0;
        }
        return ok;
    }

    // Resets every signal to its default action and clears the mask: this process may
    // ignore SIGPIPE or block signals for its own threads, and the tool must not inherit
    // that.
    bool resetSignals() {
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        sigemptyset(&none);
        return m_ready && posix_spawnattr_setsigdefault(&m_attributes, &all) == 0 &&
               posix_spawnattr_setsigmask(&m_attributes, &none) == 0 &&
               posix_spawnattr_setflags(&m_attributes,
                                        POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
    }

    [[nodiscard]] const posix_spawn_file_actions_t* actions() const { return &m_actions; }
    [[nodiscard]] const posix_spawnattr_t* attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
    bool m_ready = false;
};

std::vector<char*> argumentVector(const std::string& executable,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

int waitForExit(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

} // namespace

ProcessOutcome spawnProcess(const std::string& executable,
                            const std::vector<std::string>& arguments, ErrorStream errors) {
    ProcessOutcome outcome;
    int ends[2];
    if (executable.empty() || executable.front() != '/' || pipe2(ends, O_CLOEXEC) != 0) {
        return outcome;
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    SpawnSetup setup;
    if (!setup.connect(writeEnd.get(), errors) || !setup.resetSignals()) {
        return outcome;
    }
    const std::vector<char*> argv = argumentVector(executable, arguments);
    pid_t child = -1;
    if (posix_spawn(&child, executable.c_str(), setup.actions(), setup.attributes(), argv.data(),
                    environ) != 0) {
        return outcome;
    }
    // Only the child may hold the write end now, or the read below would never see the end.
    writeEnd.close();
    outcome.started = true;
    // What the tool wrote is kept even when reading stops early. A tool still writing past
    // the limit finds its pipe closed and ends, so the wait below cannot hang on it.
    (void)readAll(readEnd.get(), maximumOutput, outcome.output);
    readEnd.close();
    outcome.exitStatus = waitForExit(child);
    return outcome;
}

std::string runProcess(const std::string& executable, const std::vector<std::string>& arguments) {
    ProcessOutcome outcome = spawnProcess(executable, arguments);
    return outcome.started ? toValidUtf8(outcome.output) : std::string();
}

namespace {

class SystemProcessRunner final : public ProcessRunner {
public:
    [[nodiscard]] std::string run(const std::string& executable,
                                  const std::vector<std::string>& arguments) const override {
        return runProcess(executable, arguments);
    }
};

} // namespace

const ProcessRunner& ProcessRunner::system() {
    static const SystemProcessRunner runner;
    return runner;
}

} // namespace dorvale
