#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace dorvale::test {

/// A system call that a traced child is about to make.
struct TracedCall {
    /// The call's number, as in <sys/syscall.h> (`SYS_openat`, `SYS_read`…).
    std::uint64_t number = 0;
    /// The path an `openat` is about to open; empty for every other call.
    std::string path{};
};

/// Runs `body` in a forked child that this process traces, and calls `beforeCall` here on
/// every system call the child is about to make, while the child waits for it to return. A
/// test can so change a file at an exact moment of what the child does, with no timing
/// involved. Returns the child's exit status, which is `body`'s result, 128 + the signal that
/// ended it, or 250 and above when the child could not be started or traced. The body must
/// not use test assertions: it reports through its result.
int runTraced(const std::function<int()>& body,
              const std::function<void(const TracedCall&)>& beforeCall);

} // namespace dorvale::test
