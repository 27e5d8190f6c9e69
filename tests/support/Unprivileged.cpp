#include "support/Unprivileged.hpp"

#include "support/ChildProcess.hpp"

#include <grp.h>
#include <unistd.h>

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
    return runInChild([&body] { return dropPrivileges() ? body() : 250; });
}

} // namespace dorvale::test
