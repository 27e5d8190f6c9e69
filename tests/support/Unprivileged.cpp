#include "support/Unprivileged.hpp"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace dorvale::test {

namespace {

bool dropPrivileges() {
    if (geteuid() != 0) {
        return true;
    }
    return setgroups(0, nullptr) == 0 &&
           setresgid(unprivilegedId, unprivilegedId, unprivilegedId) == 0 &&
           setresuid(unprivilegedId, unprivilegedId, unprivilegedId) == 0;
}

} // namespace

int runUnprivileged(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        return 251;
    }
    if (child == 0) {
        _exit(dropPrivileges() ? body() : 250);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return 252;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

} // namespace dorvale::test
