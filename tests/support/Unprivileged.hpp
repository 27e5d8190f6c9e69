#pragma once

#include <functional>

namespace dorvale::test {

/// The user and group a permission test runs as.
inline constexpr unsigned unprivilegedId = 65534;

/// Runs `body` in a forked child that first drops to uid and gid 65534 when the test runs
/// as root (root ignores permission bits); otherwise the child keeps the caller's user,
/// whose permissions already apply. Returns the child's exit status, which is `body`'s
/// result, 250 when the privileges could not be dropped, or 128 + the signal that ended it.
/// The body must not use test assertions: it reports through its result.
int runUnprivileged(const std::function<int()>& body);

} // namespace dorvale::test
