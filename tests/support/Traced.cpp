#include "support/Traced.hpp"

#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dorvale::test {

namespace {

bool waitFor(pid_t child, int& status) {
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// The NUL-terminated string at `address` in the child's memory, read a word at a time.
std::string stringAt(pid_t child, std::uint64_t address) {
    std::string text;
    for (;;) {
        errno = 0;
        const long word = ptrace(PTRACE_PEEKDATA, child, address + text.size(), nullptr);
        if (errno != 0) {
            return text;
        }
        char bytes[sizeof word];
        std::memcpy(bytes, &word, sizeof word);
        for (const char byte : bytes) {
            if (byte == '\0') {
                return text;
            }
            text.push_back(byte);
        }
    }
}

// Tells the callback about the call the child stopped at, when it stopped on entering one.
void reportEntry(pid_t child, const std::function<void(const TracedCall&)>& beforeCall) {
    __ptrace_syscall_info info{};
    if (ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0 ||
        info.op != PTRACE_SYSCALL_INFO_ENTRY) {
        return;
    }
    TracedCall call{.number = info.entry.nr};
    if (call.number == SYS_openat) {
        call.path = stringAt(child, info.entry.args[1]);
    }
    beforeCall(call);
}

// Lets the child run from one system call stop to the next until it ends.
int follow(pid_t child, const std::function<void(const TracedCall&)>& beforeCall) {
    int status = 0;
    int signal = 0;
    for (;;) {
        if (ptrace(PTRACE_SYSCALL, child, nullptr, signal) != 0 || !waitFor(child, status)) {
            return 253;
        }
        signal = 0;
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        if (WIFSIGNALED(status)) {
            return 128 + WTERMSIG(status);
        }
        if (WSTOPSIG(status) == (SIGTRAP | 0x80)) {
            reportEntry(child, beforeCall);
        } else {
            // A signal meant for the child: hand it on.
            signal = WSTOPSIG(status);
        }
    }
}

} // namespace

int runTraced(const std::function<int()>& body,
              const std::function<void(const TracedCall&)>& beforeCall) {
    const pid_t child = fork();
    if (child < 0) {
        return 251;
    }
    if (child == 0) {
        // Stopping itself lets the parent set the tracing options before anything happens.
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || raise(SIGSTOP) != 0) {
            _exit(250);
        }
        _exit(body());
    }
    int status = 0;
    if (!waitFor(child, status) || !WIFSTOPPED(status) ||
        ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
        kill(child, SIGKILL);
        waitFor(child, status);
        return 252;
    }
    try {
        return follow(child, beforeCall);
    } catch (...) {
        // The child must not stay stopped behind a failed test.
        kill(child, SIGKILL);
        waitFor(child, status);
        throw;
    }
}

} // namespace dorvale::test
