#include "support/PrivateMounts.hpp"

#include "support/ChildProcess.hpp"

#include <sched.h>
#include <sys/mount.h>

namespace dorvale::test {

int runWithPrivateMounts(const std::function<int()>& body) {
    return runInChild([&body] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return mountsRefused;
        }
        return body();
    });
}

bool bindMount(const std::string& source, const std::string& target) {
    return mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

} // namespace dorvale::test
