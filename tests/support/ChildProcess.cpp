#include "support/ChildProcess.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace dorvale::test {

int runInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        return 251;
    }
    if (child == 0) {
        _exit(body());
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
